#include "support/ClockShift.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/core/BoardClock.h"

namespace test
{
ClockShift::ClockShift() : savedOffset_(board::wallClockOffsetMicros())
{
    // Without a board root the clock would be the host's.
    if (!::getenv("RAILBOX_ROOT"))
        throw std::logic_error("ClockShift needs RAILBOX_ROOT");
}

ClockShift::~ClockShift()
{
    board::setWallClock(board::wallClockMicros() - board::wallClockOffsetMicros() + savedOffset_);
}

void ClockShift::setMicros(int64_t microsSinceEpoch) { board::setWallClock(microsSinceEpoch); }

void ClockShift::setLocal(int year, int month, int day, int hour, int minute, int second, int micros)
{
    setMicros(static_cast<int64_t>(localSeconds(year, month, day, hour, minute, second)) * 1000000 + micros);
}

time_t ClockShift::localSeconds(int year, int month, int day, int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return ::mktime(&t);
}

time_t ClockShift::nextFullHour()
{
    time_t now = board::wallClockSeconds();
    struct tm t = {};
    ::localtime_r(&now, &t);
    t.tm_min = 0;
    t.tm_sec = 0;
    return ::mktime(&t) + 3600;
}
}
