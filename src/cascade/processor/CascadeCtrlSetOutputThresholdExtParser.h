#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetOutputThresholdExt requests (code 36) on a slave.
class CascadeCtrlSetOutputThresholdExtParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlSetOutputThresholdExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
