#pragma once
#include <functional>
#include <memory>
#include <unordered_map>

#include "DeviceRecords.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}

class ScheduledTask;

// Every scheduled task of the unit by id; each firing is reported to one
// callback (id, outlet bitmap, action). Loop thread only.
class ScheduledTaskContainer : muduo::noncopyable
{
public:
    typedef std::function<void(int id, unsigned int ports, int action)> TaskCallback;

    explicit ScheduledTaskContainer(muduo::net::EventLoop* loop);
    ~ScheduledTaskContainer();

    void setScheduledTaskCallback(TaskCallback cb) { callback_ = std::move(cb); }

    // Adds without starting; an id already present keeps its task.
    void addScheduledTask(const _DeviceTask& task);
    // Changes the fields in place; takes effect at the next start.
    void modifyScheduledTask(const _DeviceTask& task);
    void deleteScheduledTask(int id);
    // 1 when the id has a task, else 0.
    int start(int id);
    void stop(int id);
    // Re-arms every task against the current clock (after a clock change).
    void updateAllTask();

    std::shared_ptr<ScheduledTask> find(int id) const;
    size_t size() const { return tasks_.size(); }

private:
    muduo::net::EventLoop* loop_;
    TaskCallback callback_;
    std::unordered_map<int, std::shared_ptr<ScheduledTask>> tasks_;
};
