#include "DeviceClock.h"

#include <cstdint>
#include <ctime>

#include "DateTimeCheck.h"
#include "EnergyRecorder.h"
#include "ScheduledTaskContainer.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

bool DeviceClock::set(const _DeviceDateTime& local)
{
    long long seconds = 0;
    if (!DateTimeCheck::toSeconds(local, seconds))
    {
        // A peer can send this as often as it likes.
        static muduo::LogLimiter s_refusals;
        int64_t held = 0;
        if (s_refusals.allow(&held))
            LOG_WARN << "set time refused: " << local.year << "-" << local.month << "-" << local.day << " "
                     << local.hour << ":" << local.minute << ":" << local.second
                     << " is not a time the clock can hold" << muduo::LogLimiter::note(held);
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
