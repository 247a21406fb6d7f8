#pragma once
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryTempHumThresholdProcessor.h"

namespace MgrCtrl
{
// Code 52: address, mask of the pairs asked for.
class QueryTempHumThresholdParser final
    : public MgrCtrlRequestParser<QueryTempHumThresholdProcessor, CascadeCtrl::CascadeCtrlQueryTempHumThresholdRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
