#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetOutputThreshold (code 9) to a slave.
class CascadeCtrlSetOutputThresholdRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetOutputThresholdRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildSetOutputThresholdData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
