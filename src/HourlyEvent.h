#pragma once
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class PduTimer;

// Fires at the start of every hour of the wall clock (local time). The timer
// sits on the wall-clock queue, so a clock change moves the event with it.
// Loop thread only.
class HourlyEvent : muduo::noncopyable
{
public:
    typedef std::function<void()> Callback;

    explicit HourlyEvent(muduo::net::EventLoop* loop);
    ~HourlyEvent();

    void setCallback(Callback cb) { callback_ = std::move(cb); }
    // Arms the timer for the next full hour; an earlier arming is cancelled.
    void start();
    void cancel();

private:
    void onTimer();

    std::shared_ptr<PduTimer> timer_;
    Callback callback_;
};
