#pragma once
#include <functional>
#include <memory>
#include <string>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}

class PduTimer;
class PingModule;

// The probe cycle of one outlet's ping watchdog: send, wait for the echo up
// to the time-out, then (periodic) wait the interval and probe again.
// Always held by a shared_ptr: the callbacks receive the task itself.
class PingTask : muduo::noncopyable, public std::enable_shared_from_this<PingTask>
{
public:
    enum State
    {
        kIdle = 0,
        kInterval = 1,
        kWaitEcho = 2,
    };
    typedef std::function<void(const std::shared_ptr<PingTask>&)> ResultCallback;

    PingTask(muduo::net::EventLoop* loop, int port, const std::string& address, unsigned int interval,
             unsigned int timeout, int action, bool periodic);
    virtual ~PingTask();

    void setSuccessCallback(ResultCallback cb) { successCallback_ = std::move(cb); }
    void setFailCallback(ResultCallback cb) { failCallback_ = std::move(cb); }

    void start();
    void stop();
    void onTimeout(const std::shared_ptr<PduTimer>& timer);
    void onEcho(const std::shared_ptr<PingModule>& module, bool ok);

    bool valid() const { return valid_; }
    bool periodic() const { return periodic_; }
    int port() const { return port_; }
    const std::string& address() const { return address_; }
    unsigned int interval() const { return interval_; }
    unsigned int timeout() const { return timeout_; }
    int action() const { return action_; }
    int state() const { return state_; }

private:
    void init();
    void probe();
    // After a reply or a time-out: wait the interval, or go idle.
    void endProbe();

    muduo::net::EventLoop* loop_;
    bool valid_;
    bool periodic_;
    int port_;
    std::string address_;
    unsigned int interval_;
    unsigned int timeout_;
    int action_;
    int state_;
    std::shared_ptr<PingModule> module_;
    std::shared_ptr<PduTimer> timer_;
    ResultCallback successCallback_;
    ResultCallback failCallback_;
};
