#pragma once
#include "cascade/processor/CascadeCtrlSetNetworkProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetNetwork requests (code 6) on a slave.
class CascadeCtrlSetNetworkParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetNetworkProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
