#pragma once
#include "cascade/processor/CascadeCtrlSetTimeProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetTime requests (code 21) on a slave.
class CascadeCtrlSetTimeParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetTimeProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
