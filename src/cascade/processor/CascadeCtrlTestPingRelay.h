#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries TestPing (code 28) to a slave.
class CascadeCtrlTestPingRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlTestPingRequest,
                                     &CascadeCtrlPacketBuilder::buildTestPingData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
