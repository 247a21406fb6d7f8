#pragma once
#include <memory>

#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class EnergyRecorder;
class ScheduledTaskContainer;

namespace CascadeCtrl
{
// Sets the unit's clock (and the hardware clock), re-arms the scheduled
// tasks and records the energy for the new time.
class CascadeCtrlSetTimeProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kSetTime>
{
public:
    CascadeCtrlSetTimeProcessor(const std::shared_ptr<ScheduledTaskContainer>& tasks,
                                const std::shared_ptr<EnergyRecorder>& recorder)
        : tasks_(tasks), recorder_(recorder)
    {
    }

    bool work() override;

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
    std::shared_ptr<EnergyRecorder> recorder_;
};
}
