#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetPortDelay.h"

namespace CascadeCtrl
{
// The slave's SetPortDelayExt (code 37), with 64-bit outlet masks.
class CascadeCtrlSetPortDelayExtProcessor final
    : public CascadeCtrlSlaveSetPortDelay<CascadeCtrlCommand::kSetPortDelayExt>
{
};
}
