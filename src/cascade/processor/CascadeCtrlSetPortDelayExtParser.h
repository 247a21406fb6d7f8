#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetPortDelayExt requests (code 37) on a slave.
class CascadeCtrlSetPortDelayExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetPortDelayExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
