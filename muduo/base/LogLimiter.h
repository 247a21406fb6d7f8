#pragma once
#include <cstdint>
#include <string>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
// Holds one kind of repeated log line to a bounded rate, so a peer that
// provokes it in a loop cannot fill the log: the first line passes, then at
// most one per interval, which tells how many were held back before it.
class LogLimiter : noncopyable
{
public:
    explicit LogLimiter(double intervalSeconds = 1.0) : interval_(intervalSeconds) {}

    // True when a line may be written at now (monotonic clock); *suppressed
    // is then the number held back since the last one written.
    bool allow(Timestamp now, int64_t* suppressed);
    bool allow(int64_t* suppressed) { return allow(Timestamp::now(true), suppressed); }
    // " (N similar lines suppressed)", or nothing for none.
    static std::string note(int64_t suppressed);

private:
    const double interval_;
    bool written_ = false;
    Timestamp last_;
    int64_t suppressed_ = 0;
};
}  // namespace muduo
