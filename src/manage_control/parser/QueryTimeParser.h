#pragma once
#include "cascade/processor/CascadeCtrlQueryTimeRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryTimeProcessor.h"

namespace MgrCtrl
{
// Code 61: address alone.
class QueryTimeParser final : public MgrCtrlRequestParser<QueryTimeProcessor, CascadeCtrl::CascadeCtrlQueryTimeRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
