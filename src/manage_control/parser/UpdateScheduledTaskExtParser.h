#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/UpdateScheduledTaskExtProcessor.h"

namespace MgrCtrl
{
// Code 79: address, task id, then the fields of code 78.
class UpdateScheduledTaskExtParser final
    : public MgrCtrlRequestParser<UpdateScheduledTaskExtProcessor, CascadeCtrl::CascadeCtrlUpdateScheduledTaskExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
