#pragma once
#include "cascade/processor/CascadeCtrlSetNameExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetNameExt requests (code 34) on a slave.
class CascadeCtrlSetNameExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetNameExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
