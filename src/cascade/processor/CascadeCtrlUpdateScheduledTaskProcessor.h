#pragma once
#include "cascade/processor/CascadeCtrlSlaveUpdateScheduledTask.h"

namespace CascadeCtrl
{
// The slave's UpdateScheduledTask (code 18).
class CascadeCtrlUpdateScheduledTaskProcessor final
    : public CascadeCtrlSlaveUpdateScheduledTask<CascadeCtrlCommand::kUpdateScheduledTask>
{
public:
    using CascadeCtrlSlaveUpdateScheduledTask::CascadeCtrlSlaveUpdateScheduledTask;
};
}
