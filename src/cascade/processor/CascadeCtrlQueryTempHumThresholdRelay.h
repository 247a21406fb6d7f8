#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryTempHumThreshold (code 12) to a slave.
class CascadeCtrlQueryTempHumThresholdRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlPairSelectionRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryTempHumiThresholdData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
