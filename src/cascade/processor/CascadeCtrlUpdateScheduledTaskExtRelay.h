#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries UpdateScheduledTaskExt (code 40) to a slave.
class CascadeCtrlUpdateScheduledTaskExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlUpdateScheduledTaskRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildUpdateScheduledTaskExtData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
