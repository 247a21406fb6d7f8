#pragma once
#include "cascade/processor/CascadeCtrlSetPingExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetPingExt requests (code 42) on a slave.
class CascadeCtrlSetPingExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetPingExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
