#pragma once
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryInputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 50: address, mask of the pairs asked for; never relayed.
class QueryInputThresholdParser final : public MgrCtrlRequestParser<QueryInputThresholdProcessor>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
