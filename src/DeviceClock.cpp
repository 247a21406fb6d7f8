#include "DeviceClock.h"

#include <climits>
#include <cstdint>

#include "EnergyRecorder.h"
#include "ScheduledTaskContainer.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

namespace
{
// The clock counts microseconds in 64 bits.
const int64_t kMaxSeconds = INT64_MAX / 1000000;

bool fitsInt(long long value) { return value >= INT_MIN && value <= INT_MAX; }
}

bool DeviceClock::toSeconds(const _DeviceDateTime& local, time_t& seconds)
{
    const long long year = static_cast<long long>(local.year) - 1900;
    const long long month = static_cast<long long>(local.month) - 1;
    if (!fitsInt(year) || !fitsInt(month))
        return false;
    struct tm t = {};
    t.tm_year = static_cast<int>(year);
    t.tm_mon = static_cast<int>(month);
    t.tm_mday = local.day;
    t.tm_hour = local.hour;
    t.tm_min = local.minute;
    t.tm_sec = local.second;
    t.tm_isdst = -1;  // the zone's rules decide
    const time_t converted = ::mktime(&t);
    // -1 is also the error value; a time before the epoch cannot be set anyway.
    if (converted < 0 || static_cast<int64_t>(converted) > kMaxSeconds)
        return false;
    seconds = converted;
    return true;
}

bool DeviceClock::set(const _DeviceDateTime& local)
{
    time_t seconds = 0;
    if (!toSeconds(local, seconds))
    {
        LOG_WARN << "set time refused: " << local.year << "-" << local.month << "-" << local.day << " " << local.hour
                 << ":" << local.minute << ":" << local.second << " is not a time the clock can hold";
        return false;
    }
    if (!board::setWallClock(static_cast<int64_t>(seconds) * 1000000))
    {
        LOG_ERROR << "settimeofday failed";
        return false;
    }
    board::runCommand("hwclock -w");
    tasks_.updateAllTask();
    recorder_.recordOnTimeChanged();
    LOG_INFO << "set to " << local.year << "-" << local.month << "-" << local.day << " " << local.hour << ":"
             << local.minute << ":" << local.second;
    return true;
}

_DeviceDateTime DeviceClock::now()
{
    const time_t seconds = board::wallClockSeconds();
    struct tm t = {};
    ::localtime_r(&seconds, &t);
    _DeviceDateTime out;
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.hour = t.tm_hour;
    out.minute = t.tm_min;
    out.second = t.tm_sec;
    return out;
}
