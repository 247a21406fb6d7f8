#include "muduo/base/Timestamp.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "platform/core/BoardClock.h"

namespace muduo
{
static_assert(sizeof(Timestamp) == sizeof(int64_t), "Timestamp is one int64_t");

std::string Timestamp::toString() const
{
    char buf[32] = {0};
    int64_t seconds = microSecondsSinceEpoch_ / kMicroSecondsPerSecond;
    int64_t microseconds = microSecondsSinceEpoch_ % kMicroSecondsPerSecond;
    snprintf(buf, sizeof buf, "%" PRId64 ".%06" PRId64, seconds, microseconds);
    return buf;
}

std::string Timestamp::toFormattedString(bool showMicroseconds) const
{
    char buf[64] = {0};
    time_t seconds = secondsSinceEpoch();
    struct tm tm_time;
    gmtime_r(&seconds, &tm_time);
    if (showMicroseconds)
    {
        int microseconds = static_cast<int>(microSecondsSinceEpoch_ % kMicroSecondsPerSecond);
        snprintf(buf, sizeof buf, "%4d%02d%02d %02d:%02d:%02d.%06d", tm_time.tm_year + 1900, tm_time.tm_mon + 1,
                 tm_time.tm_mday, tm_time.tm_hour, tm_time.tm_min, tm_time.tm_sec, microseconds);
    }
    else
    {
        snprintf(buf, sizeof buf, "%4d%02d%02d %02d:%02d:%02d", tm_time.tm_year + 1900, tm_time.tm_mon + 1,
                 tm_time.tm_mday, tm_time.tm_hour, tm_time.tm_min, tm_time.tm_sec);
    }
    return buf;
}

Timestamp Timestamp::now(bool monotonic)
{
    if (monotonic)
    {
        struct timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return Timestamp(static_cast<int64_t>(ts.tv_sec) * kMicroSecondsPerSecond + ts.tv_nsec / 1000);
    }
    return Timestamp(board::wallClockMicros());
}
}  // namespace muduo
