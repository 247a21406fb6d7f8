#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's temperature/humidity limits changed (code 13): web 15, manage-control 0x35 with the pair mask.
class CascadeCtrlSetTempHumThresholdRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetTempHumThreshold,
                                         &web::WebPacketBuilder::buildSetTempHumiThresholdRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetTempHumiThresholdRetData>
{
};
}
