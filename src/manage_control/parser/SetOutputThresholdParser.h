#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetOutputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 49: address, 32-bit outlet mask, four currents per outlet.
class SetOutputThresholdParser final
    : public MgrCtrlRequestParser<SetOutputThresholdProcessor, CascadeCtrl::CascadeCtrlSetOutputThresholdRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
