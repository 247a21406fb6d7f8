#pragma once
#include <cstdint>
#include <memory>

#include "ScheduledTaskOperations.h"
#include "manage_control/parser/MgrCtrlTaskRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// AddScheduledTask and UpdateScheduledTask (kWithId), each with its Ext
// twin: pdu.db first, then the task's timer. The reply carries, when done,
// the id of the new or changed task. Only the low 32 bits of an Ext mask
// are stored.
template <typename M, bool kWithId, auto Build>
class MgrCtrlTaskChangeProcessor : public MgrCtrlRequestProcessor<MgrCtrlTaskRequest<M, kWithId>>
{
public:
    explicit MgrCtrlTaskChangeProcessor(const std::shared_ptr<ScheduledTaskContainer>& tasks) : tasks_(tasks) {}

    int work() override
    {
        ScheduledTaskOperations operations(*tasks_);
        _DeviceTask& task = this->request().task;
        return (kWithId ? operations.update(task) : operations.add(task)) ? 0 : 1;
    }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        Build(data, 0, result, static_cast<uint32_t>(this->request().task.id));
    }

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
};
}
