#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryNetwork (code 5) to a slave.
class CascadeCtrlQueryNetworkRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlEmptyRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryNetworkData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
