#pragma once
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryTempHumThreshold requests (code 12) on a slave.
class CascadeCtrlQueryTempHumThresholdParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlQueryTempHumThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
