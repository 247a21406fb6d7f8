#pragma once
#include "cascade/processor/CascadeCtrlEnergyRetProcessor.h"

namespace CascadeCtrl
{
// A slave's energy statistics (code 25): manage-control 0x42.
class CascadeCtrlQueryEnergyRetProcessor final
    : public CascadeCtrlEnergyRetProcessor<CascadeCtrlCommand::kQueryEnergy,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildQueryEnergyRetData>
{
};
}
