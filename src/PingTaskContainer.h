#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
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

class PingTask;

// One ping watchdog per outlet (0 to 7). Counts each periodic watchdog's
// consecutive failed probes and reports the outlet's action every time the
// count reaches the threshold; a success clears the count. Loop thread only.
class PingTaskContainer : muduo::noncopyable
{
public:
    static const int kPorts = 8;
    typedef std::function<void(int port, bool periodic)> SuccessCallback;
    typedef std::function<void(int port, int action)> FailCallback;

    PingTaskContainer(muduo::net::EventLoop* loop, int threshold);
    ~PingTaskContainer();

    void setSuccessCallback(SuccessCallback cb) { successCallback_ = std::move(cb); }
    void setFailCallback(FailCallback cb) { failCallback_ = std::move(cb); }

    // Replaces the outlet's task and starts the new one; a port outside 0 to
    // 7 is refused with a log line.
    void addPingTask(const std::shared_ptr<PingTask>& task);
    void addPingTask(const PingSetting& setting, bool periodic);
    void addPingTask(int port, const std::string& address, unsigned int interval, unsigned int timeout, int action,
                     bool periodic);
    void deletePingTask(int port);
    void listPingTasks() {}

    // The handlers every task reports to.
    void onPingTaskSuccess(const std::shared_ptr<PingTask>& task);
    void onPingTaskFail(const std::shared_ptr<PingTask>& task);

    std::shared_ptr<PingTask> find(int port) const;
    int failCount(int port) const { return validPort(port) ? failCounts_[port] : 0; }

private:
    static bool validPort(int port) { return port >= 0 && port < kPorts; }
    bool isCurrent(const std::shared_ptr<PingTask>& task) const;

    muduo::net::EventLoop* loop_;
    int threshold_;
    std::unordered_map<int, std::shared_ptr<PingTask>> tasks_;
    std::array<int, kPorts> failCounts_;
    SuccessCallback successCallback_;
    FailCallback failCallback_;
};
