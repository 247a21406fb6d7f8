#pragma once
#include "cascade/processor/CascadeCtrlEnergyRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's energy statistics (code 41): manage-control 0x50.
class CascadeCtrlQueryEnergyExtRetProcessor final
    : public CascadeCtrlEnergyRetProcessor<CascadeCtrlCommand::kQueryEnergyExt,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildQueryEnergyExtRetData>
{
};
}
