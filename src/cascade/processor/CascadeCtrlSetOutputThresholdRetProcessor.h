#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's outlet limits changed (code 9): web 4, manage-control 0x31 with the mask.
class CascadeCtrlSetOutputThresholdRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetOutputThreshold,
                                         &web::WebPacketBuilder::buildSetOutputThresholdRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetOutputThresholdRetData>
{
};
}
