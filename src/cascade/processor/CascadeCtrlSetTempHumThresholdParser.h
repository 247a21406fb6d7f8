#pragma once
#include "cascade/processor/CascadeCtrlSetTempHumThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetTempHumThreshold requests (code 13) on a slave.
class CascadeCtrlSetTempHumThresholdParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlSetTempHumThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
