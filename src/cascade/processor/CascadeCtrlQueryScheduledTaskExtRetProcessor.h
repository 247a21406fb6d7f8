#pragma once
#include "cascade/processor/CascadeCtrlTaskListRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's scheduled tasks (code 38): web 26, manage-control 0x4D.
class CascadeCtrlQueryScheduledTaskExtRetProcessor final
    : public CascadeCtrlTaskListRetProcessor<CascadeCtrlCommand::kQueryScheduledTaskExt,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryScheduledTaskExtRetData>
{
};
}
