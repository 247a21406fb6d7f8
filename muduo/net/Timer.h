#pragma once
#include <cstdint>

#include "muduo/base/Mutex.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Callbacks.h"

namespace muduo
{
namespace net
{
// One pending timer, owned by its queue.
class Timer : noncopyable
{
public:
    Timer(TimerCallback cb, Timestamp when, double interval);

    void run() const { callback_(); }

    Timestamp expiration() const { return expiration_; }
    double interval() const { return interval_; }
    bool repeat() const { return repeat_; }
    int64_t sequence() const { return sequence_; }

    // The next expiry counts from the handling time, not the previous expiry.
    void restart(Timestamp now);

    static int64_t numCreated();

private:
    static int64_t nextSequence();

    const TimerCallback callback_;
    Timestamp expiration_;
    const double interval_;
    const bool repeat_;
    const int64_t sequence_;

    static int64_t s_numCreated_;
    static MutexLock s_mutex_;
};
}  // namespace net
}  // namespace muduo
