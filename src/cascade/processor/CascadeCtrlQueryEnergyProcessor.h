#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryEnergy.h"

namespace CascadeCtrl
{
// The slave's QueryEnergy (code 25).
class CascadeCtrlQueryEnergyProcessor final : public CascadeCtrlSlaveQueryEnergy<CascadeCtrlCommand::kQueryEnergy>
{
public:
    using CascadeCtrlSlaveQueryEnergy::CascadeCtrlSlaveQueryEnergy;
};
}
