#pragma once
#include "cascade/processor/CascadeCtrlTaskListRetProcessor.h"

namespace CascadeCtrl
{
// A slave's scheduled tasks (code 16): web 26, manage-control 0x38.
class CascadeCtrlQueryScheduledTaskRetProcessor final
    : public CascadeCtrlTaskListRetProcessor<CascadeCtrlCommand::kQueryScheduledTask,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryScheduledTaskRetData>
{
};
}
