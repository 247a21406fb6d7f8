#pragma once
#include "cascade/processor/CascadeCtrlTaskIdRetProcessor.h"

namespace CascadeCtrl
{
// A task added on a slave (code 17): web 27 with its id, manage-control 0x39.
class CascadeCtrlAddScheduledTaskRetProcessor final
    : public CascadeCtrlTaskIdRetProcessor<CascadeCtrlCommand::kAddScheduledTask,
                                           &web::WebPacketBuilder::buildAddScheduledTaskRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildAddScheduledTaskRetData>
{
};
}
