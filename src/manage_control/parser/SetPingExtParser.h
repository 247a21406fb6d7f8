#pragma once
#include "cascade/processor/CascadeCtrlSetPingExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetPingExtProcessor.h"

namespace MgrCtrl
{
// Code 81: address, 64-bit outlet mask, one 8-byte watchdog record per set bit 0 to 62.
class SetPingExtParser final : public MgrCtrlRequestParser<SetPingExtProcessor, CascadeCtrl::CascadeCtrlSetPingExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
