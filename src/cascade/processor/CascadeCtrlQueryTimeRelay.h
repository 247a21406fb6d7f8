#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryTime (code 20) to a slave.
class CascadeCtrlQueryTimeRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlEmptyRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryTimeData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
