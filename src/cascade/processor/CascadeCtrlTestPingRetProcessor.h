#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A ping test started on a slave (code 28): web 20, manage-control 0x44 with the port.
class CascadeCtrlTestPingRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kTestPing,
                                         &web::WebPacketBuilder::buildTestPingRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildTestPingRetData>
{
};
}
