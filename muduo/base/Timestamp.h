#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <utility>

#include "muduo/base/copyable.h"

namespace muduo
{
// Microseconds, either since the Unix epoch (wall clock) or since boot
// (monotonic clock). 0 is the invalid timestamp.
class Timestamp : public muduo::copyable
{
public:
    static const int kMicroSecondsPerSecond = 1000 * 1000;

    Timestamp() : microSecondsSinceEpoch_(0) {}
    explicit Timestamp(int64_t microSecondsSinceEpoch) : microSecondsSinceEpoch_(microSecondsSinceEpoch) {}

    void swap(Timestamp& that) { std::swap(microSecondsSinceEpoch_, that.microSecondsSinceEpoch_); }

    std::string toString() const;
    std::string toFormattedString(bool showMicroseconds = true) const;

    bool valid() const { return microSecondsSinceEpoch_ > 0; }
    int64_t microSecondsSinceEpoch() const { return microSecondsSinceEpoch_; }
    time_t secondsSinceEpoch() const { return static_cast<time_t>(microSecondsSinceEpoch_ / kMicroSecondsPerSecond); }

    // monotonic: CLOCK_MONOTONIC; otherwise the board's wall clock.
    static Timestamp now(bool monotonic);
    static Timestamp now() { return now(false); }
    static Timestamp invalid() { return Timestamp(); }
    static Timestamp fromUnixTime(time_t t, int microseconds = 0)
    {
        return Timestamp(static_cast<int64_t>(t) * kMicroSecondsPerSecond + microseconds);
    }

private:
    int64_t microSecondsSinceEpoch_;
};

inline bool operator<(Timestamp lhs, Timestamp rhs) { return lhs.microSecondsSinceEpoch() < rhs.microSecondsSinceEpoch(); }
inline bool operator>(Timestamp lhs, Timestamp rhs) { return rhs < lhs; }
inline bool operator<=(Timestamp lhs, Timestamp rhs) { return !(rhs < lhs); }
inline bool operator>=(Timestamp lhs, Timestamp rhs) { return !(lhs < rhs); }
inline bool operator==(Timestamp lhs, Timestamp rhs)
{
    return lhs.microSecondsSinceEpoch() == rhs.microSecondsSinceEpoch();
}
inline bool operator!=(Timestamp lhs, Timestamp rhs) { return !(lhs == rhs); }

// Seconds from low to high.
inline double timeDifference(Timestamp high, Timestamp low)
{
    int64_t diff = high.microSecondsSinceEpoch() - low.microSecondsSinceEpoch();
    return static_cast<double>(diff) / Timestamp::kMicroSecondsPerSecond;
}

inline Timestamp addTime(Timestamp timestamp, double seconds)
{
    int64_t delta = static_cast<int64_t>(seconds * Timestamp::kMicroSecondsPerSecond);
    return Timestamp(timestamp.microSecondsSinceEpoch() + delta);
}
}  // namespace muduo
