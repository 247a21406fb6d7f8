#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryInputThreshold (code 10) to a slave.
class CascadeCtrlQueryInputThresholdRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlPairSelectionRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryInputThresholdData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
