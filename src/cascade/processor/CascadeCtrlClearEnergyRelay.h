#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries ClearEnergy (code 22) to a slave.
class CascadeCtrlClearEnergyRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlEmptyRequest,
                                     &CascadeCtrlPacketBuilder::buildClearEnergyData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
