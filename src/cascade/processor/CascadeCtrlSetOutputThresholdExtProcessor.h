#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetOutputThreshold.h"

namespace CascadeCtrl
{
// The slave's SetOutputThresholdExt (code 36), with 64-bit outlet masks.
class CascadeCtrlSetOutputThresholdExtProcessor final
    : public CascadeCtrlSlaveSetOutputThreshold<CascadeCtrlCommand::kSetOutputThresholdExt>
{
};
}
