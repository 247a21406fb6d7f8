#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries SetName (code 4) to a slave.
class CascadeCtrlSetNameRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlSetNameRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildSetNameData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
