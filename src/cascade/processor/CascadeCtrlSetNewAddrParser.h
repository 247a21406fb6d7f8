#pragma once
#include "cascade/processor/CascadeCtrlSetNewAddrProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetNewAddr requests (code 26) on a slave.
class CascadeCtrlSetNewAddrParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetNewAddrProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
