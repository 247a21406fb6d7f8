#pragma once
#include "cascade/processor/CascadeCtrlSlaveAddScheduledTask.h"

namespace CascadeCtrl
{
// The slave's AddScheduledTask (code 17).
class CascadeCtrlAddScheduledTaskProcessor final
    : public CascadeCtrlSlaveAddScheduledTask<CascadeCtrlCommand::kAddScheduledTask>
{
public:
    using CascadeCtrlSlaveAddScheduledTask::CascadeCtrlSlaveAddScheduledTask;
};
}
