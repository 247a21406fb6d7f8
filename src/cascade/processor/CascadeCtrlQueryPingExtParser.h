#pragma once
#include "cascade/processor/CascadeCtrlQueryPingExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryPingExt requests (code 43) on a slave.
class CascadeCtrlQueryPingExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryPingExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
