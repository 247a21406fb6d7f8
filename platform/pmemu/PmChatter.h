#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

namespace pmemu
{
// Replies nobody asked for, on a schedule: a relay reply for one port every
// period, as a second talker on the line or a confused firmware sends them.
// Not thread-safe: the emulator keeps it under its lock.
class PmChatter
{
public:
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::milliseconds;
    using Bytes = std::vector<uint8_t>;

    // The first is due every from now; every of 0 or less stops them.
    void set(uint8_t port, uint8_t action, Millis every, Clock::time_point now);
    bool on() const { return every_.count() > 0; }
    // The reply due by now and when it was due; false if none is. One a
    // call: a caller that woke late gets one, not all it missed.
    bool take(Clock::time_point now, Bytes& reply, Clock::time_point& due);
    // The time until the next is due, at most most.
    Millis until(Clock::time_point now, Millis most) const;

private:
    Bytes reply_;
    Millis every_{0};
    Clock::time_point next_{};
};
}
