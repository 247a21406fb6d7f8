#include "ScheduledTaskContainer.h"

#include "DateTimeCheck.h"
#include "ScheduledTask.h"
#include "muduo/base/Logging.h"

namespace
{
unsigned int lowPorts(const _DeviceTask& t) { return static_cast<unsigned int>(t.ports & 0xFFFFFFFFu); }
}  // namespace

ScheduledTaskContainer::ScheduledTaskContainer(muduo::net::EventLoop* loop) : loop_(loop) {}

// The tasks stop their timers as they go.
ScheduledTaskContainer::~ScheduledTaskContainer() = default;

void ScheduledTaskContainer::addScheduledTask(const _DeviceTask& record)
{
    auto task = std::make_shared<ScheduledTask>(loop_, record.id, lowPorts(record), record.repeat, record.action,
                                                DateTimeCheck::dateTimeOf(record));
    task->setRunCallback([this](const std::shared_ptr<ScheduledTask>& t) {
        if (callback_)
            callback_(t->id(), t->ports(), t->action());
        t->next();
    });
    tasks_.emplace(record.id, task);
    LOG_INFO << "task ids";
    for (const auto& entry : tasks_)
        LOG_INFO << entry.first;
}

void ScheduledTaskContainer::modifyScheduledTask(const _DeviceTask& record)
{
    if (auto task = find(record.id))
        task->modify(lowPorts(record), record.repeat, record.action, DateTimeCheck::dateTimeOf(record));
}

void ScheduledTaskContainer::deleteScheduledTask(int id) { tasks_.erase(id); }

int ScheduledTaskContainer::start(int id)
{
    auto task = find(id);
    if (!task)
    {
        LOG_INFO << "task id:" << id << " not found";
        return 0;
    }
    task->start();
    return 1;
}

void ScheduledTaskContainer::stop(int id)
{
    if (auto task = find(id))
        task->stop();
}

void ScheduledTaskContainer::updateAllTask()
{
    for (const auto& entry : tasks_)
    {
        if (entry.second->armed())
            entry.second->stop();
        entry.second->start();
    }
}

std::shared_ptr<ScheduledTask> ScheduledTaskContainer::find(int id) const
{
    auto it = tasks_.find(id);
    return it == tasks_.end() ? nullptr : it->second;
}
