#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryScheduledTaskExtProcessor.h"

namespace MgrCtrl
{
// Code 77: address, start and end date-time (six signed bytes each).
class QueryScheduledTaskExtParser final
    : public MgrCtrlRequestParser<QueryScheduledTaskExtProcessor, CascadeCtrl::CascadeCtrlQueryScheduledTaskExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
