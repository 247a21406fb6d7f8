#pragma once
#include <memory>

#include "ScheduledTaskOperations.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class ScheduledTaskContainer;

namespace CascadeCtrl
{
// UpdateScheduledTask and its Ext twin: rewrites the task of the request's
// id and re-arms it; the answer carries that id.
template <int kCode>
class CascadeCtrlSlaveUpdateScheduledTask : public CascadeCtrlSlaveCommand<kCode>
{
public:
    explicit CascadeCtrlSlaveUpdateScheduledTask(const std::shared_ptr<ScheduledTaskContainer>& tasks) : tasks_(tasks)
    {
    }

    bool work() override
    {
        if (!ScheduledTaskOperations(*tasks_).update(this->request.task))
            return false;
        this->answer_.data.id = static_cast<uint32_t>(this->request.task.id);
        return true;
    }

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
};
}
