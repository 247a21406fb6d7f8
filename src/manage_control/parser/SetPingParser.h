#pragma once
#include "cascade/processor/CascadeCtrlSetPingRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetPingProcessor.h"

namespace MgrCtrl
{
// Code 67: address, 32-bit outlet mask, one 8-byte watchdog record per set bit 0 to 30.
class SetPingParser final : public MgrCtrlRequestParser<SetPingProcessor, CascadeCtrl::CascadeCtrlSetPingRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
