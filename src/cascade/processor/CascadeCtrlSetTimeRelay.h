#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetTime (code 21) to a slave.
class CascadeCtrlSetTimeRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetTimeRequest,
                                     &CascadeCtrlPacketBuilder::buildSetTimeData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
