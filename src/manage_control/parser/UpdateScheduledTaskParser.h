#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/UpdateScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 58: address, task id, then the fields of code 57.
class UpdateScheduledTaskParser final
    : public MgrCtrlRequestParser<UpdateScheduledTaskProcessor, CascadeCtrl::CascadeCtrlUpdateScheduledTaskRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
