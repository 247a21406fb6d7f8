#pragma once
#include "cascade/processor/CascadeCtrlTaskIdRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's task changed (code 40): web 28, manage-control 0x4F.
class CascadeCtrlUpdateScheduledTaskExtRetProcessor final
    : public CascadeCtrlTaskIdRetProcessor<CascadeCtrlCommand::kUpdateScheduledTaskExt,
                                           &web::WebPacketBuilder::buildUpdateScheduledTaskRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildUpdateScheduledTaskExtRetData>
{
};
}
