#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetPortDelay (code 15) to a slave.
class CascadeCtrlSetPortDelayRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetPortDelayRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildSetPortDelayData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
