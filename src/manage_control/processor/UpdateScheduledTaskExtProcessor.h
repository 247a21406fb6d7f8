#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlTaskChangeProcessor.h"

namespace MgrCtrl
{
// Code 79: changes a task of this unit.
class UpdateScheduledTaskExtProcessor final
    : public MgrCtrlTaskChangeProcessor<uint64_t, true, &MgrCtrlPacketBuilder::buildUpdateScheduledTaskExtRetData>
{
public:
    using MgrCtrlTaskChangeProcessor::MgrCtrlTaskChangeProcessor;
};
}
