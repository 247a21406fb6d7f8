#pragma once
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/DeleteScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 59: address, 16-bit count, the task ids.
class DeleteScheduledTaskParser final
    : public MgrCtrlRequestParser<DeleteScheduledTaskProcessor, CascadeCtrl::CascadeCtrlDeleteScheduledTaskRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
