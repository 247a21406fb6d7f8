#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's tasks deleted (code 19): web 29, manage-control 0x3B.
class CascadeCtrlDeleteScheduledTaskRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kDeleteScheduledTask,
                                           &web::WebPacketBuilder::buildDeleteScheduledTaskRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildDeleteScheduledTaskRetData>
{
};
}
