#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryScheduledTask.h"

namespace CascadeCtrl
{
// The slave's QueryScheduledTask (code 16).
class CascadeCtrlQueryScheduledTaskProcessor final
    : public CascadeCtrlSlaveQueryScheduledTask<CascadeCtrlCommand::kQueryScheduledTask>
{
};
}
