#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries DeleteScheduledTask (code 19) to a slave.
class CascadeCtrlDeleteScheduledTaskRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlDeleteScheduledTaskRequest,
                                     &CascadeCtrlPacketBuilder::buildDeleteScheduledTaskData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
