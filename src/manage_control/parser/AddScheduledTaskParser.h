#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/AddScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 57: address, 32-bit outlet mask, action, date-time, repeat mask, remark.
class AddScheduledTaskParser final
    : public MgrCtrlRequestParser<AddScheduledTaskProcessor, CascadeCtrl::CascadeCtrlAddScheduledTaskRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
