#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetInputThreshold (code 11) to a slave.
class CascadeCtrlSetInputThresholdRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetInputThresholdRequest,
                                     &CascadeCtrlPacketBuilder::buildSetInputThresholdData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
