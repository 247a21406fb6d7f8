#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 56: address, start and end date-time (six signed bytes each).
class QueryScheduledTaskParser final
    : public MgrCtrlRequestParser<QueryScheduledTaskProcessor, CascadeCtrl::CascadeCtrlQueryScheduledTaskRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
