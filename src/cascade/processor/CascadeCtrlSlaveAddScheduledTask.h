#pragma once
#include <memory>

#include "ScheduledTaskOperations.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class ScheduledTaskContainer;

namespace CascadeCtrl
{
// AddScheduledTask and its Ext twin: stores the task and arms it; the
// answer carries the new id.
template <int kCode>
class CascadeCtrlSlaveAddScheduledTask : public CascadeCtrlSlaveCommand<kCode>
{
public:
    explicit CascadeCtrlSlaveAddScheduledTask(const std::shared_ptr<ScheduledTaskContainer>& tasks) : tasks_(tasks) {}

    bool work() override
    {
        _DeviceTask task = this->request.task;
        if (!ScheduledTaskOperations(*tasks_).add(task))
            return false;
        this->answer_.data.id = static_cast<uint32_t>(task.id);
        return true;
    }

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
};
}
