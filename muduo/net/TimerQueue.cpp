#include "muduo/net/TimerQueue.h"

#include <cassert>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/Timer.h"
#include "platform/core/BoardClock.h"

namespace muduo
{
namespace net
{
namespace detail
{
int createTimerfd(bool monotonic)
{
    int timerfd = ::timerfd_create(monotonic ? CLOCK_MONOTONIC : CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerfd < 0)
        LOG_SYSFATAL << "Failed in timerfd_create";
    return timerfd;
}

// A zero it_value would disarm the timerfd, so nothing is armed closer than 100 us.
struct timespec howMuchTime(int64_t microseconds)
{
    if (microseconds < 100)
        microseconds = 100;
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(microseconds / Timestamp::kMicroSecondsPerSecond);
    ts.tv_nsec = static_cast<long>((microseconds % Timestamp::kMicroSecondsPerSecond) * 1000);
    return ts;
}

struct timespec howMuchTimeFromNow(Timestamp when)
{
    return howMuchTime(when.microSecondsSinceEpoch() - Timestamp::now(true).microSecondsSinceEpoch());
}

void readTimerfd(int timerfd, Timestamp now)
{
    uint64_t howmany = 0;
    ssize_t n = ::read(timerfd, &howmany, sizeof howmany);
    LOG_TRACE << "TimerQueue::handleRead() " << howmany << " at " << now.toString();
    if (n != sizeof howmany)
        LOG_ERROR << "TimerQueue::handleRead() reads " << n << " bytes instead of 8";
}

// relative: monotonic queue, armed as time left; otherwise an absolute time on
// the host's CLOCK_REALTIME, i.e. the board time minus the board's offset.
void resetTimerfd(int timerfd, Timestamp expiration, bool relative)
{
    struct itimerspec newValue = {};
    struct itimerspec oldValue = {};
    int flags = 0;
    if (relative)
    {
        newValue.it_value = howMuchTimeFromNow(expiration);
    }
    else
    {
        newValue.it_value = howMuchTime(expiration.microSecondsSinceEpoch() - board::wallClockOffsetMicros());
        flags = TFD_TIMER_ABSTIME;
    }
    if (::timerfd_settime(timerfd, flags, &newValue, &oldValue) != 0)
        LOG_SYSERR << "timerfd_settime()";
}
}  // namespace detail

TimerQueue::TimerQueue(EventLoop* loop, bool monotonic)
    : loop_(loop), monotonic_(monotonic), timerfd_(detail::createTimerfd(monotonic)),
      timerfdChannel_(loop, timerfd_), callingExpiredTimers_(false), clockListener_(0)
{
    timerfdChannel_.setReadCallback(std::bind(&TimerQueue::handleRead, this));
    timerfdChannel_.enableReading();
    // The board's wall clock may be an offset from the host's: a change of it
    // moves every absolute arming.
    if (!monotonic_)
        clockListener_ = board::addClockListener([this] { loop_->runInLoop(std::bind(&TimerQueue::rearm, this)); });
}

TimerQueue::~TimerQueue()
{
    if (clockListener_)
        board::removeClockListener(clockListener_);
    timerfdChannel_.disableAll();
    timerfdChannel_.remove();
    ::close(timerfd_);
    for (const Entry& timer : timers_)
        delete timer.second;
}

TimerId TimerQueue::addTimer(TimerCallback cb, Timestamp when, double interval)
{
    Timer* timer = new Timer(std::move(cb), when, interval);
    loop_->runInLoop(std::bind(&TimerQueue::addTimerInLoop, this, timer));
    return TimerId(timer, timer->sequence(), monotonic_);
}

void TimerQueue::cancel(TimerId timerId) { loop_->runInLoop(std::bind(&TimerQueue::cancelInLoop, this, timerId)); }

void TimerQueue::addTimerInLoop(Timer* timer)
{
    loop_->assertInLoopThread();
    if (insert(timer))
        detail::resetTimerfd(timerfd_, timer->expiration(), monotonic_);
}

void TimerQueue::cancelInLoop(TimerId timerId)
{
    loop_->assertInLoopThread();
    assert(timers_.size() == activeTimers_.size());
    ActiveTimer timer(timerId.timer(), timerId.sequence());
    ActiveTimerSet::iterator it = activeTimers_.find(timer);
    if (it != activeTimers_.end())
    {
        size_t n = timers_.erase(Entry(it->first->expiration(), it->first));
        assert(n == 1);
        (void)n;
        delete it->first;
        activeTimers_.erase(it);
    }
    else if (callingExpiredTimers_)
    {
        cancelingTimers_.insert(timer);
    }
    assert(timers_.size() == activeTimers_.size());
}

void TimerQueue::handleRead()
{
    loop_->assertInLoopThread();
    Timestamp now(this->now());
    detail::readTimerfd(timerfd_, now);
    std::vector<Entry> expired = getExpired(now);

    callingExpiredTimers_ = true;
    cancelingTimers_.clear();
    for (const Entry& entry : expired)
    {
        // A timer cancelled by an earlier callback of this pass stays silent:
        // its owner may already be gone.
        if (cancelingTimers_.count(ActiveTimer(entry.second, entry.second->sequence())))
            continue;
        entry.second->run();
    }
    callingExpiredTimers_ = false;

    reset(expired, now);
}

std::vector<TimerQueue::Entry> TimerQueue::getExpired(Timestamp now)
{
    assert(timers_.size() == activeTimers_.size());
    Entry sentry(now, reinterpret_cast<Timer*>(UINTPTR_MAX));
    TimerList::iterator end = timers_.lower_bound(sentry);
    assert(end == timers_.end() || now < end->first);
    std::vector<Entry> expired(timers_.begin(), end);
    timers_.erase(timers_.begin(), end);
    for (const Entry& entry : expired)
    {
        size_t n = activeTimers_.erase(ActiveTimer(entry.second, entry.second->sequence()));
        assert(n == 1);
        (void)n;
    }
    assert(timers_.size() == activeTimers_.size());
    return expired;
}

void TimerQueue::reset(const std::vector<Entry>& expired, Timestamp now)
{
    for (const Entry& entry : expired)
    {
        ActiveTimer timer(entry.second, entry.second->sequence());
        if (entry.second->repeat() && cancelingTimers_.find(timer) == cancelingTimers_.end())
        {
            entry.second->restart(now);
            insert(entry.second);
        }
        else
        {
            delete entry.second;
        }
    }
    rearm();
}

void TimerQueue::rearm()
{
    if (!timers_.empty() && timers_.begin()->first.valid())
        detail::resetTimerfd(timerfd_, timers_.begin()->first, monotonic_);
}

bool TimerQueue::insert(Timer* timer)
{
    loop_->assertInLoopThread();
    assert(timers_.size() == activeTimers_.size());
    bool earliestChanged = timers_.empty() || timer->expiration() < timers_.begin()->first;
    timers_.insert(Entry(timer->expiration(), timer));
    activeTimers_.insert(ActiveTimer(timer, timer->sequence()));
    assert(timers_.size() == activeTimers_.size());
    return earliestChanged;
}
}  // namespace net
}  // namespace muduo
