#pragma once
#include "cascade/processor/CascadeCtrlSetNameProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetName requests (code 4) on a slave.
class CascadeCtrlSetNameParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetNameProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
