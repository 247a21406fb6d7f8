#pragma once
#include "cascade/processor/CascadeCtrlQueryOutputThresholdRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryOutputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 48: address alone.
class QueryOutputThresholdParser final
    : public MgrCtrlRequestParser<QueryOutputThresholdProcessor, CascadeCtrl::CascadeCtrlQueryOutputThresholdRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
