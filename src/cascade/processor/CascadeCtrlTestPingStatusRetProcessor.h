#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's last ping test (code 29; 1: no echo yet): web 21, manage-control 0x45 with the port.
class CascadeCtrlTestPingStatusRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kTestPingStatus,
                                         &web::WebPacketBuilder::buildTestPingStatusRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildTestPingStatusRetData>
{
};
}
