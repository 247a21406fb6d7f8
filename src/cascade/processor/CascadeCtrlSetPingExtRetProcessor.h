#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's watchdogs set (code 42): web 17, manage-control 0x51 with the mask.
class CascadeCtrlSetPingExtRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetPingExt,
                                         &web::WebPacketBuilder::buildSetPingRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetPingExtRetData>
{
};
}
