#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetPortDelay requests (code 15) on a slave.
class CascadeCtrlSetPortDelayParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetPortDelayProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
