#pragma once
#include "cascade/processor/CascadeCtrlQueryLogRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QuerySystemLogProcessor.h"

namespace MgrCtrl
{
// Code 65: address, type, start and end day (signed bytes).
class QuerySystemLogParser final
    : public MgrCtrlRequestParser<QuerySystemLogProcessor, CascadeCtrl::CascadeCtrlQueryLogRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
