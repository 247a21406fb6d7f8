#pragma once
#include "cascade/processor/CascadeCtrlQueryPingExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryPingExtProcessor.h"

namespace MgrCtrl
{
// Code 83: address, 64-bit outlet mask.
class QueryPingExtParser final
    : public MgrCtrlRequestParser<QueryPingExtProcessor, CascadeCtrl::CascadeCtrlQueryPingExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
