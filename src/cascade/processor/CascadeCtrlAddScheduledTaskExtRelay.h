#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries AddScheduledTaskExt (code 39) to a slave.
class CascadeCtrlAddScheduledTaskExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlAddScheduledTaskRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildAddScheduledTaskExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
