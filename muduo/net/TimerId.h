#pragma once
#include <cstdint>

#include "muduo/base/copyable.h"

namespace muduo
{
namespace net
{
class Timer;

// A caller's handle of one timer. The (timer, sequence) pair identifies it,
// so a handle never matches a later timer that reuses the memory.
class TimerId : public muduo::copyable
{
public:
    TimerId() : timer_(nullptr), sequence_(0), monotonic_(true) {}
    TimerId(Timer* timer, int64_t seq, bool monotonic) : timer_(timer), sequence_(seq), monotonic_(monotonic) {}

    Timer* timer() const { return timer_; }
    int64_t sequence() const { return sequence_; }
    // True when the timer lives in the monotonic queue.
    bool monotonic() const { return monotonic_; }

private:
    Timer* timer_;
    int64_t sequence_;
    bool monotonic_;
};
}  // namespace net
}  // namespace muduo
