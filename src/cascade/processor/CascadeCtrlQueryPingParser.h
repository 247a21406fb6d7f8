#pragma once
#include "cascade/processor/CascadeCtrlQueryPingProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryPing requests (code 30) on a slave.
class CascadeCtrlQueryPingParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryPingProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
