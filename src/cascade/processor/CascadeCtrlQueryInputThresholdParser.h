#pragma once
#include "cascade/processor/CascadeCtrlQueryInputThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryInputThreshold requests (code 10) on a slave.
class CascadeCtrlQueryInputThresholdParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlQueryInputThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
