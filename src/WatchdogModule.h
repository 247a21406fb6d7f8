#pragma once
#include <memory>

#include "muduo/base/noncopyable.h"

class PduTimer;
class Watchdog;

namespace muduo
{
namespace net
{
class EventLoop;
}
}

// Chooses the hardware watchdog, else the software one, at construction and
// feeds it every second from the loop, so a stuck loop ends in a reset.
// Without either device the daemon runs unguarded and the timer does nothing.
class WatchdogModule : muduo::noncopyable
{
public:
    static constexpr double kFeedInterval = 1.0;

    explicit WatchdogModule(muduo::net::EventLoop* loop);
    virtual ~WatchdogModule();

    void start();
    void onTimer(const std::shared_ptr<PduTimer>& timer);

private:
    std::unique_ptr<Watchdog> watchdog_;
    std::shared_ptr<PduTimer> timer_;
};
