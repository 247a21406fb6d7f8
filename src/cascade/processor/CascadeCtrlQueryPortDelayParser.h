#pragma once
#include "cascade/processor/CascadeCtrlQueryPortDelayProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryPortDelay requests (code 14) on a slave.
class CascadeCtrlQueryPortDelayParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryPortDelayProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
