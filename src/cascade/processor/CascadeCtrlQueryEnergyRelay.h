#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryEnergy (code 25) to a slave.
class CascadeCtrlQueryEnergyRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryEnergyRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryEnergyData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
