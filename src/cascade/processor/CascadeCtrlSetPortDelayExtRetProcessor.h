#pragma once
#include "cascade/processor/CascadeCtrlEchoRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's delays changed (code 37): web 11, manage-control 0x4C with the mask.
class CascadeCtrlSetPortDelayExtRetProcessor final
    : public CascadeCtrlEchoRetProcessor<CascadeCtrlCommand::kSetPortDelayExt,
                                         &web::WebPacketBuilder::buildSetPortDelayRetPacket,
                                         &MgrCtrl::MgrCtrlPacketBuilder::buildSetPortDelayExtRetData>
{
};
}
