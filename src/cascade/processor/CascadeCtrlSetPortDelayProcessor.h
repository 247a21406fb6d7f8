#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetPortDelay.h"

namespace CascadeCtrl
{
// The slave's SetPortDelay (code 15).
class CascadeCtrlSetPortDelayProcessor final : public CascadeCtrlSlaveSetPortDelay<CascadeCtrlCommand::kSetPortDelay>
{
};
}
