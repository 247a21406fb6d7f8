#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetPortDelayProcessor.h"

namespace MgrCtrl
{
// Code 55: address, 32-bit outlet mask, three delays per set bit 0 to 30.
class SetPortDelayParser final
    : public MgrCtrlRequestParser<SetPortDelayProcessor, CascadeCtrl::CascadeCtrlSetPortDelayRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
