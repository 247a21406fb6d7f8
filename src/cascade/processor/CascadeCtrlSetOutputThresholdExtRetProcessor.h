#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's outlet limits changed (code 36): web 4, manage-control 0x4B with the mask.
class CascadeCtrlSetOutputThresholdExtRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetOutputThresholdExt,
                                         &web::WebPacketBuilder::buildSetOutputThresholdRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetOutputThresholdExtRetData>
{
};
}
