#pragma once
#include "cascade/processor/CascadeCtrlSetTempHumThresholdRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetTempHumThresholdProcessor.h"

namespace MgrCtrl
{
// Code 53: address, mask, the limit pairs it selects.
class SetTempHumThresholdParser final
    : public MgrCtrlRequestParser<SetTempHumThresholdProcessor, CascadeCtrl::CascadeCtrlSetTempHumThresholdRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
