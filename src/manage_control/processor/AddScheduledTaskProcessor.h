#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlTaskChangeProcessor.h"

namespace MgrCtrl
{
// Code 57: adds a task to this unit.
class AddScheduledTaskProcessor final
    : public MgrCtrlTaskChangeProcessor<uint32_t, false, &MgrCtrlPacketBuilder::buildAddScheduledTaskRetData>
{
public:
    using MgrCtrlTaskChangeProcessor::MgrCtrlTaskChangeProcessor;
};
}
