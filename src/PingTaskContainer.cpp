#include "PingTaskContainer.h"

#include <arpa/inet.h>

#include "PingTask.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

PingTaskContainer::PingTaskContainer(muduo::net::EventLoop* loop, int threshold)
    : loop_(loop), threshold_(threshold), failCounts_()
{
}

// The tasks cancel their timers as they go.
PingTaskContainer::~PingTaskContainer() = default;

void PingTaskContainer::addPingTask(const std::shared_ptr<PingTask>& task)
{
    int port = task->port();
    if (!validPort(port))
    {
        LOG_WARN << "ping task refused, no outlet " << port;
        return;
    }
    task->setSuccessCallback([this](const std::shared_ptr<PingTask>& t) { onPingTaskSuccess(t); });
    task->setFailCallback([this](const std::shared_ptr<PingTask>& t) { onPingTaskFail(t); });
    failCounts_[port] = 0;
    tasks_[port] = task;
    task->start();
}

void PingTaskContainer::addPingTask(const PingSetting& setting, bool periodic)
{
    std::string address;
    Utility::ipNetworkToString(htonl(setting.ip), address);
    addPingTask(setting.port, address, setting.interval, setting.timeout, setting.action, periodic);
}

void PingTaskContainer::addPingTask(int port, const std::string& address, unsigned int interval, unsigned int timeout,
                                    int action, bool periodic)
{
    addPingTask(std::make_shared<PingTask>(loop_, port, address, interval, timeout, action, periodic));
}

void PingTaskContainer::deletePingTask(int port)
{
    auto it = tasks_.find(port);
    if (it == tasks_.end())
        return;
    it->second->stop();
    tasks_.erase(it);
}

std::shared_ptr<PingTask> PingTaskContainer::find(int port) const
{
    auto it = tasks_.find(port);
    return it == tasks_.end() ? nullptr : it->second;
}

// A replaced task still finishing its last callback must not touch the
// count of its successor.
bool PingTaskContainer::isCurrent(const std::shared_ptr<PingTask>& task) const { return find(task->port()) == task; }

void PingTaskContainer::onPingTaskSuccess(const std::shared_ptr<PingTask>& task)
{
    if (!isCurrent(task))
        return;
    int port = task->port();
    LOG_INFO << "ping ok,port:" << port << " ip:" << task->address();
    if (successCallback_)
        successCallback_(port, task->periodic());
    failCounts_[port] = 0;
}

void PingTaskContainer::onPingTaskFail(const std::shared_ptr<PingTask>& task)
{
    if (!isCurrent(task))
        return;
    int port = task->port();
    LOG_INFO << "task fail,port:" << port;
    if (!task->periodic())
        return;
    if (++failCounts_[port] >= threshold_)
    {
        failCounts_[port] = 0;
        if (failCallback_)
            failCallback_(port, task->action());
    }
}
