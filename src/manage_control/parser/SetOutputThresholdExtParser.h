#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetOutputThresholdExtProcessor.h"

namespace MgrCtrl
{
// Code 75: address, 64-bit outlet mask, four currents per set bit 0 to 62.
class SetOutputThresholdExtParser final
    : public MgrCtrlRequestParser<SetOutputThresholdExtProcessor, CascadeCtrl::CascadeCtrlSetOutputThresholdExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
