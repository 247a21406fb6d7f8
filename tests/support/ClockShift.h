#pragma once
#include <cstdint>
#include <ctime>

namespace test
{
// Moves the board's simulated wall clock (only under a test's board root;
// the host's clock is never touched) and puts it back when destroyed.
class ClockShift
{
public:
    ClockShift();
    ~ClockShift();
    ClockShift(const ClockShift&) = delete;
    ClockShift& operator=(const ClockShift&) = delete;

    // Sets the board clock to a local calendar time (seconds may carry a
    // fraction through micros).
    void setLocal(int year, int month, int day, int hour, int minute, int second, int micros = 0);
    void setMicros(int64_t microsSinceEpoch);

    // Local seconds since the epoch of a calendar time.
    static time_t localSeconds(int year, int month, int day, int hour, int minute, int second);
    // Start of the next full local hour after the board clock's now.
    static time_t nextFullHour();

private:
    int64_t savedOffset_;
};
}
