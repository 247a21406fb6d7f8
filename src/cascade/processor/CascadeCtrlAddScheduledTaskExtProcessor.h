#pragma once
#include "cascade/processor/CascadeCtrlSlaveAddScheduledTask.h"

namespace CascadeCtrl
{
// The slave's AddScheduledTaskExt (code 39), with 64-bit outlet masks.
class CascadeCtrlAddScheduledTaskExtProcessor final
    : public CascadeCtrlSlaveAddScheduledTask<CascadeCtrlCommand::kAddScheduledTaskExt>
{
public:
    using CascadeCtrlSlaveAddScheduledTask::CascadeCtrlSlaveAddScheduledTask;
};
}
