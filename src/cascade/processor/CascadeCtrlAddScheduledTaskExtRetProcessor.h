#pragma once
#include "cascade/processor/CascadeCtrlTaskIdRetProcessor.h"

namespace CascadeCtrl
{
// A task added on a wide slave (code 39): web 27 with its id, manage-control 0x4E.
class CascadeCtrlAddScheduledTaskExtRetProcessor final
    : public CascadeCtrlTaskIdRetProcessor<CascadeCtrlCommand::kAddScheduledTaskExt,
                                           &web::WebPacketBuilder::buildAddScheduledTaskRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildAddScheduledTaskExtRetData>
{
};
}
