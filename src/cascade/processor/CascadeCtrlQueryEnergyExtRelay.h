#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryEnergyExt (code 41) to a slave.
class CascadeCtrlQueryEnergyExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryEnergyRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryEnergyExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
