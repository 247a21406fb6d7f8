#pragma once
#include "cascade/processor/CascadeCtrlQueryOutputThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryOutputThreshold requests (code 8) on a slave.
class CascadeCtrlQueryOutputThresholdParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlQueryOutputThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
