#pragma once
#include "cascade/processor/CascadeCtrlSetInputThresholdProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetInputThreshold requests (code 11) on a slave.
class CascadeCtrlSetInputThresholdParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetInputThresholdProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
