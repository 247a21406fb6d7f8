#include "DateTimeCheck.h"

#include <ctime>

#include "Utility.h"

bool DateTimeCheck::isValid(const _DeviceDateTime& local)
{
    long long seconds = 0;
    return toSeconds(local, seconds);
}

bool DateTimeCheck::toSeconds(const _DeviceDateTime& t, long long& seconds)
{
    if (t.year < kFirstYear || t.year > 2038 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > Utility::daysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return false;
    // The zone decides where the last second falls in local time.
    struct tm local = {};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    const time_t converted = ::mktime(&local);
    if (converted == static_cast<time_t>(-1) || static_cast<long long>(converted) > kLastSecond)
        return false;
    seconds = static_cast<long long>(converted);
    return true;
}

_DeviceDateTime DateTimeCheck::dateTimeOf(const _DeviceTask& task)
{
    _DeviceDateTime t;
    t.year = task.year;
    t.month = task.month;
    t.day = task.day;
    t.hour = task.hour;
    t.minute = task.minute;
    t.second = task.second;
    return t;
}
