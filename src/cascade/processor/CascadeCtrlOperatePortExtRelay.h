#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries OperatePortExt (code 32) to a slave.
class CascadeCtrlOperatePortExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlOperatePortRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildOperatePortExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
