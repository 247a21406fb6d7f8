#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetNameExt (code 34) to a slave.
class CascadeCtrlSetNameExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetNameRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildSetNameExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
