#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlTaskChangeProcessor.h"

namespace MgrCtrl
{
// Code 78: adds a task to this unit.
class AddScheduledTaskExtProcessor final
    : public MgrCtrlTaskChangeProcessor<uint64_t, false, &MgrCtrlPacketBuilder::buildAddScheduledTaskExtRetData>
{
public:
    using MgrCtrlTaskChangeProcessor::MgrCtrlTaskChangeProcessor;
};
}
