#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries TestPingStatus (code 29) to a slave.
class CascadeCtrlTestPingStatusRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlTestPingStatusRequest,
                                     &CascadeCtrlPacketBuilder::buildTestPingStatusData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
