#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetOutputThreshold.h"

namespace CascadeCtrl
{
// The slave's SetOutputThreshold (code 9).
class CascadeCtrlSetOutputThresholdProcessor final
    : public CascadeCtrlSlaveSetOutputThreshold<CascadeCtrlCommand::kSetOutputThreshold>
{
};
}
