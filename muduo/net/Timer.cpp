#include "muduo/net/Timer.h"

namespace muduo
{
namespace net
{
int64_t Timer::s_numCreated_ = 0;
MutexLock Timer::s_mutex_;

Timer::Timer(TimerCallback cb, Timestamp when, double interval)
    : callback_(std::move(cb)), expiration_(when), interval_(interval), repeat_(interval > 0.0),
      sequence_(nextSequence())
{
}

void Timer::restart(Timestamp now)
{
    if (repeat_)
        expiration_ = addTime(now, interval_);
    else
        expiration_ = Timestamp::invalid();
}

int64_t Timer::nextSequence()
{
    MutexLockGuard lock(s_mutex_);
    return ++s_numCreated_;
}

int64_t Timer::numCreated()
{
    MutexLockGuard lock(s_mutex_);
    return s_numCreated_;
}
}  // namespace net
}  // namespace muduo
