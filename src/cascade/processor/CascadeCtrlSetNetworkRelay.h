#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetNetwork (code 6) to a slave.
class CascadeCtrlSetNetworkRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetNetworkRequest,
                                     &CascadeCtrlPacketBuilder::buildSetNetworkData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
