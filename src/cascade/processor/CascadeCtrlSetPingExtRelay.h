#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetPingExt (code 42) to a slave.
class CascadeCtrlSetPingExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetPingRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildSetPingExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
