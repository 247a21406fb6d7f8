#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A slave's delays changed (code 15): web 11, manage-control 0x37 with the mask.
class CascadeCtrlSetPortDelayRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetPortDelay,
                                         &web::WebPacketBuilder::buildSetPortDelayRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetPortDelayRetData>
{
};
}
