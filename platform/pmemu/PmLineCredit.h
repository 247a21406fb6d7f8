#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>

namespace pmemu
{
// The receive side of a paced line: how many of the bytes waiting the line
// has brought by now. Only the emulator's thread asks and takes; the pace
// may be set from any thread.
class PmLineCredit
{
public:
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::milliseconds;

    void setPace(int bytesPerSecond) { pace_ = bytesPerSecond > 0 ? bytesPerSecond : 0; }
    int pace() const { return pace_; }
    // The bytes brought by now, or 0 and the wait until enough are worth a
    // read, or -1 on an unpaced line (whatever arrived).
    long available(Clock::time_point now, Millis& wait);
    // n bytes were read; leftWaiting: more were waiting behind them.
    void take(size_t n, bool leftWaiting);

private:
    std::atomic<int> pace_{0};
    double credit_ = 0;
    Clock::time_point credited_{};
    bool busy_ = false;
};
}
