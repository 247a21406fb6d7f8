#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryScheduledTaskExt (code 38) to a slave.
class CascadeCtrlQueryScheduledTaskExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryScheduledTaskRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryScheduledTaskExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
