#pragma once
#include <cstdint>
#include <string>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
// Holds one kind of repeated log line to a bounded rate, so a peer that
// provokes it in a loop cannot fill the log: at most linesPerInterval lines
// pass in each interval (begun by the first line after the last one ended);
// the first line of the next tells how many were held back before it.
class LogLimiter : noncopyable
{
public:
    // Lines a second a peer may make one interface write (its first ones
    // whole, so an ordinary fault is seen in full).
    static constexpr int kPeerLinesPerSecond = 12;

    explicit LogLimiter(double intervalSeconds = 1.0, int linesPerInterval = 1)
        : interval_(intervalSeconds), lines_(linesPerInterval > 0 ? linesPerInterval : 1)
    {
    }

    // True when a line may be written at now (monotonic clock); *suppressed
    // is then the number held back since the last one written.
    bool allow(Timestamp now, int64_t* suppressed);
    bool allow(int64_t* suppressed) { return allow(Timestamp::now(true), suppressed); }
    // " (N similar lines suppressed)", or nothing for none.
    static std::string note(int64_t suppressed);

    // While a scope lives, every WARN, ERROR or system-error line its thread
    // writes passes through its limiter (the innermost scope's), whichever
    // code writes it: set where a peer's bytes come in, it bounds all the
    // lines they provoke. FATAL lines always pass.
    class Scope : noncopyable
    {
    public:
        explicit Scope(LogLimiter& limiter);
        ~Scope();

    private:
        LogLimiter* outer_;
    };
    // The innermost scope's limiter of this thread, or null.
    static LogLimiter* current();

private:
    const double interval_;
    const int lines_;
    Timestamp windowStart_;
    int written_ = 0;  // in the interval begun at windowStart_
    int64_t suppressed_ = 0;
};
}  // namespace muduo
