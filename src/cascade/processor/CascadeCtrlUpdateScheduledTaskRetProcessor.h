#pragma once
#include "cascade/processor/CascadeCtrlTaskIdRetProcessor.h"

namespace CascadeCtrl
{
// A slave's task changed (code 18): web 28, manage-control 0x3A.
class CascadeCtrlUpdateScheduledTaskRetProcessor final
    : public CascadeCtrlTaskIdRetProcessor<CascadeCtrlCommand::kUpdateScheduledTask,
                                           &web::WebPacketBuilder::buildUpdateScheduledTaskRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildUpdateScheduledTaskRetData>
{
};
}
