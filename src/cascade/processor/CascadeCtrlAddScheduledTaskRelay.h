#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries AddScheduledTask (code 17) to a slave.
class CascadeCtrlAddScheduledTaskRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlAddScheduledTaskRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildAddScheduledTaskData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
