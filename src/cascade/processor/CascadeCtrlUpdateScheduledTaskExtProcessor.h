#pragma once
#include "cascade/processor/CascadeCtrlSlaveUpdateScheduledTask.h"

namespace CascadeCtrl
{
// The slave's UpdateScheduledTaskExt (code 40), with 64-bit outlet masks.
class CascadeCtrlUpdateScheduledTaskExtProcessor final
    : public CascadeCtrlSlaveUpdateScheduledTask<CascadeCtrlCommand::kUpdateScheduledTaskExt>
{
public:
    using CascadeCtrlSlaveUpdateScheduledTask::CascadeCtrlSlaveUpdateScheduledTask;
};
}
