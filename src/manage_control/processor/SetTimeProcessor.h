#pragma once
#include <memory>

#include "cascade/parser/CascadeCtrlSetTimeRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

class EnergyRecorder;
class ScheduledTaskContainer;

namespace MgrCtrl
{
// Code 62: sets this unit's clock to a local time, then the hardware
// clock; every task is re-armed and the energy recorded for the new time.
class SetTimeProcessor final
    : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlSetTimeRequest, &MgrCtrlPacketBuilder::buildSetTimeRetData>
{
public:
    SetTimeProcessor(const std::shared_ptr<ScheduledTaskContainer>& tasks,
                     const std::shared_ptr<EnergyRecorder>& recorder)
        : tasks_(tasks), recorder_(recorder)
    {
    }

    int work() override;

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
    std::shared_ptr<EnergyRecorder> recorder_;
};
}
