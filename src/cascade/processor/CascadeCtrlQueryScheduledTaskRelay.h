#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryScheduledTask (code 16) to a slave.
class CascadeCtrlQueryScheduledTaskRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryScheduledTaskRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryScheduledTaskData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
