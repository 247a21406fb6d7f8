#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryEnergy.h"

namespace CascadeCtrl
{
// The slave's QueryEnergyExt (code 41), with 64-bit outlet masks.
class CascadeCtrlQueryEnergyExtProcessor final : public CascadeCtrlSlaveQueryEnergy<CascadeCtrlCommand::kQueryEnergyExt>
{
public:
    using CascadeCtrlSlaveQueryEnergy::CascadeCtrlSlaveQueryEnergy;
};
}
