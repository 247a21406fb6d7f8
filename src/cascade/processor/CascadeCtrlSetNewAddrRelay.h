#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetNewAddr (code 26) to a slave.
class CascadeCtrlSetNewAddrRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetNewAddrRequest,
                                     &CascadeCtrlPacketBuilder::buildSetNewAddrData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
