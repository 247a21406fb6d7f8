#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryPingExt (code 43) to a slave.
class CascadeCtrlQueryPingExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlOutletMaskRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryPingExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
