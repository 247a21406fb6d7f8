#pragma once
#include <memory>

#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class ScheduledTaskContainer;

namespace CascadeCtrl
{
// Deletes and stops all the listed tasks, or none when one is not stored.
class CascadeCtrlDeleteScheduledTaskProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kDeleteScheduledTask>
{
public:
    explicit CascadeCtrlDeleteScheduledTaskProcessor(const std::shared_ptr<ScheduledTaskContainer>& tasks)
        : tasks_(tasks)
    {
    }

    bool work() override;

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
};
}
