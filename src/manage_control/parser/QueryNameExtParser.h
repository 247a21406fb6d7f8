#pragma once
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryNameExtProcessor.h"

namespace MgrCtrl
{
// Code 82: address, 64-bit name mask; never relayed.
class QueryNameExtParser final : public MgrCtrlRequestParser<QueryNameExtProcessor>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
