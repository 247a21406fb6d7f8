#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/AddScheduledTaskExtProcessor.h"

namespace MgrCtrl
{
// Code 78: address, 64-bit outlet mask, action, date-time, repeat mask, remark.
class AddScheduledTaskExtParser final
    : public MgrCtrlRequestParser<AddScheduledTaskExtProcessor, CascadeCtrl::CascadeCtrlAddScheduledTaskExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
