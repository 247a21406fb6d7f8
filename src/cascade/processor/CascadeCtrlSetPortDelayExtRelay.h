#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetPortDelayExt (code 37) to a slave.
class CascadeCtrlSetPortDelayExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetPortDelayRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildSetPortDelayExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
