#pragma once
#include "cascade/processor/CascadeCtrlQueryPortDelayRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryPortDelayProcessor.h"

namespace MgrCtrl
{
// Code 54: address alone.
class QueryPortDelayParser final
    : public MgrCtrlRequestParser<QueryPortDelayProcessor, CascadeCtrl::CascadeCtrlQueryPortDelayRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
