#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 77: this unit's tasks with 64-bit outlet masks.
class QueryScheduledTaskExtProcessor final
    : public MgrCtrlQueryScheduledTaskProcessor<&MgrCtrlPacketBuilder::buildQueryScheduledTaskExtRetData>
{
};
}
