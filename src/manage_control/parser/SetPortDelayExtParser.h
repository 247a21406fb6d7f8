#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetPortDelayExtProcessor.h"

namespace MgrCtrl
{
// Code 76: address, 64-bit outlet mask, three delays per set bit 0 to 62.
class SetPortDelayExtParser final
    : public MgrCtrlRequestParser<SetPortDelayExtProcessor, CascadeCtrl::CascadeCtrlSetPortDelayExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
