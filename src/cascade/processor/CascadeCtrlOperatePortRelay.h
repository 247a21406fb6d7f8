#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries OperatePort (code 2) to a slave.
class CascadeCtrlOperatePortRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlOperatePortRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildOperatePortData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
