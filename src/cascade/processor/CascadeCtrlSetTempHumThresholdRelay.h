#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetTempHumThreshold (code 13) to a slave.
class CascadeCtrlSetTempHumThresholdRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetTempHumThresholdRequest,
                                     &CascadeCtrlPacketBuilder::buildSetTempHumiThresholdData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
