#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryScheduledTask.h"

namespace CascadeCtrl
{
// The slave's QueryScheduledTaskExt (code 38), with 64-bit outlet masks.
class CascadeCtrlQueryScheduledTaskExtProcessor final
    : public CascadeCtrlSlaveQueryScheduledTask<CascadeCtrlCommand::kQueryScheduledTaskExt>
{
};
}
