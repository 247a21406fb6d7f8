#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryPing (code 30) to a slave.
class CascadeCtrlQueryPingRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlOutletMaskRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryPingData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
