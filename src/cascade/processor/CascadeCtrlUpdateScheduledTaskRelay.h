#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries UpdateScheduledTask (code 18) to a slave.
class CascadeCtrlUpdateScheduledTaskRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlUpdateScheduledTaskRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildUpdateScheduledTaskData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
