#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryScheduledTaskProcessor.h"

namespace MgrCtrl
{
// Code 56: this unit's tasks with 32-bit outlet masks.
class QueryScheduledTaskProcessor final
    : public MgrCtrlQueryScheduledTaskProcessor<&MgrCtrlPacketBuilder::buildQueryScheduledTaskRetData>
{
};
}
