#pragma once
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryNameProcessor.h"

namespace MgrCtrl
{
// Code 70: address, 32-bit name mask; never relayed.
class QueryNameParser final : public MgrCtrlRequestParser<QueryNameProcessor>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
