#pragma once
#include <set>
#include <vector>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Callbacks.h"
#include "muduo/net/Channel.h"
#include "muduo/net/TimerId.h"

namespace muduo
{
namespace net
{
class EventLoop;
class Timer;

// The timers of one clock, behind one timerfd. Adding and cancelling are
// safe from any thread; the sets are touched only on the loop thread.
class TimerQueue : noncopyable
{
public:
    // monotonic: CLOCK_MONOTONIC delays; otherwise wall-clock times of day.
    TimerQueue(EventLoop* loop, bool monotonic);
    ~TimerQueue();

    TimerId addTimer(TimerCallback cb, Timestamp when, double interval);
    void cancel(TimerId timerId);

    bool monotonic() const { return monotonic_; }
    // Now on this queue's clock.
    Timestamp now() const { return Timestamp::now(monotonic_); }

private:
    typedef std::pair<Timestamp, Timer*> Entry;
    typedef std::set<Entry> TimerList;
    typedef std::pair<Timer*, int64_t> ActiveTimer;
    typedef std::set<ActiveTimer> ActiveTimerSet;

    void addTimerInLoop(Timer* timer);
    void cancelInLoop(TimerId timerId);
    void handleRead();
    // Arms the timerfd for the earliest timer, if any.
    void rearm();

    std::vector<Entry> getExpired(Timestamp now);
    void reset(const std::vector<Entry>& expired, Timestamp now);
    bool insert(Timer* timer);

    EventLoop* loop_;
    const bool monotonic_;
    const int timerfd_;
    Channel timerfdChannel_;
    TimerList timers_;
    ActiveTimerSet activeTimers_;
    bool callingExpiredTimers_;
    ActiveTimerSet cancelingTimers_;
    int clockListener_;
};
}  // namespace net
}  // namespace muduo
