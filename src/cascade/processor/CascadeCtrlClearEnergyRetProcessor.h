#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's energy cleared (code 22): web 13, manage-control 0x3F.
class CascadeCtrlClearEnergyRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kClearEnergy,
                                           &web::WebPacketBuilder::buildClearEnergyRetPacket,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildClearEnergyRetData>
{
};
}
