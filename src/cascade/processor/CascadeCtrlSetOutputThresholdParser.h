#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetOutputThreshold requests (code 9) on a slave.
class CascadeCtrlSetOutputThresholdParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetOutputThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
