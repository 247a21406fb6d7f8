#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetOutputThresholdExt (code 36) to a slave.
class CascadeCtrlSetOutputThresholdExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetOutputThresholdRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildSetOutputThresholdExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
