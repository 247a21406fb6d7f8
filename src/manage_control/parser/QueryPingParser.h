#pragma once
#include "cascade/processor/CascadeCtrlQueryPingRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryPingProcessor.h"

namespace MgrCtrl
{
// Code 71: address, 32-bit outlet mask.
class QueryPingParser final : public MgrCtrlRequestParser<QueryPingProcessor, CascadeCtrl::CascadeCtrlQueryPingRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
