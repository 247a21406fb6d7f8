#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetPing (code 27) to a slave.
class CascadeCtrlSetPingRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetPingRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildSetPingData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
