#pragma once
#include "cascade/processor/CascadeCtrlSetInputThresholdRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetInputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 51: address, mask, the limit pairs it selects.
class SetInputThresholdParser final
    : public MgrCtrlRequestParser<SetInputThresholdProcessor, CascadeCtrl::CascadeCtrlSetInputThresholdRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
