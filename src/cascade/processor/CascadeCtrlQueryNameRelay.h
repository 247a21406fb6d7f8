#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryName (code 3) to a slave.
class CascadeCtrlQueryNameRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlOutletMaskRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryNameData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
