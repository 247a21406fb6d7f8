#pragma once
#include "DeviceRecords.h"

// The one test of a date and time that a peer sends, for the clock or for a
// scheduled task: a real calendar time (month 1-12, the day within its month,
// leap years counted, hour 0-23, minute and second 0-59) that the unit's
// clock can hold. The unit counts seconds in a signed 32-bit number, so its
// last second is 2038-01-19 03:14:07 UTC; 2000 is its first year, the
// earliest year the byte-wide wires can carry.
class DateTimeCheck
{
public:
    static constexpr int kFirstYear = 2000;
    static constexpr long long kLastSecond = 2147483647LL;

    // Local calendar time, as every interface carries it.
    static bool isValid(const _DeviceDateTime& local);
    static bool isValid(const _DeviceTask& task) { return isValid(dateTimeOf(task)); }
    // A task's date and time as one record.
    static _DeviceDateTime dateTimeOf(const _DeviceTask& task);
    // The seconds since the epoch of a valid local time; false for any other.
    static bool toSeconds(const _DeviceDateTime& local, long long& seconds);
};
