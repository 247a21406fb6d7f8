#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's watchdogs set (code 27): web 17, manage-control 0x43 with the mask.
class CascadeCtrlSetPingRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetPing,
                                         &web::WebPacketBuilder::buildSetPingRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetPingRetData>
{
};
}
