#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlTaskChangeProcessor.h"

namespace MgrCtrl
{
// Code 58: changes a task of this unit.
class UpdateScheduledTaskProcessor final
    : public MgrCtrlTaskChangeProcessor<uint32_t, true, &MgrCtrlPacketBuilder::buildUpdateScheduledTaskRetData>
{
public:
    using MgrCtrlTaskChangeProcessor::MgrCtrlTaskChangeProcessor;
};
}
