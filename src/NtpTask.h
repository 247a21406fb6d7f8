#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "NtpClient.h"
#include "muduo/base/ThreadPool.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

class PduTimer;

// Sets the clock from the configured NTP servers: a cycle at start and one
// interval after the end of each cycle, trying the servers in order until
// one answers. Host names are resolved on a one-thread pool. Create it as a
// shared object: resolver results reach the loop through a weak reference.
class NtpTask : muduo::noncopyable, public std::enable_shared_from_this<NtpTask>
{
public:
    enum Phase
    {
        kIdle = 0,
        kResolving = 1,
        kRequesting = 2,
    };

    NtpTask(muduo::net::EventLoop* loop, int intervalHours);
    ~NtpTask();

    void setServerIp(const std::vector<std::string>& servers) { servers_ = servers; }
    void setTimeAdjustedCallback(std::function<void()> cb) { timeAdjustedCallback_ = std::move(cb); }

    void start();
    int phase() const { return phase_; }
    // Monotonic time of the next cycle; invalid while a cycle runs.
    muduo::Timestamp nextCycle() const;

    void onIntervalTimeout(const std::shared_ptr<PduTimer>& timer);
    void onParseDomainRet(int index, unsigned int address);
    void onGotTime(long seconds);
    void onRequestFailed();

    // Host-order IPv4 address of a host name or dotted address; 0 when it
    // does not resolve. Runs on the pool thread.
    static unsigned int translateDomainToIp(const std::string& name);

private:
    void beginCycle();
    void launchParseDomain();
    void launchRequest(unsigned int address);
    void nextServer();
    void waitInterval();

    muduo::net::EventLoop* loop_;
    muduo::ThreadPool pool_;
    std::vector<std::string> servers_;
    int index_;
    int intervalHours_;
    std::shared_ptr<PduTimer> timer_;
    NtpClient client_;
    int phase_;
    std::function<void()> timeAdjustedCallback_;
};
