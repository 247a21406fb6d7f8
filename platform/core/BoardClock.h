#pragma once
#include <cstdint>
#include <ctime>
#include <functional>

// The one wall clock of the daemon. On the unit it is the system clock; under
// a board root, setting it only moves the daemon's own offset (kept in
// $ROOT/var/lib/railbox/clock_offset, so it survives a restart like the
// unit's hardware clock) and the host's clock is never touched.
namespace board
{
int64_t wallClockMicros();
inline time_t wallClockSeconds() { return static_cast<time_t>(wallClockMicros() / 1000000); }
// Offset of the board's wall clock from the host's, in microseconds.
int64_t wallClockOffsetMicros();
// Sets the wall clock; false when the system refused it.
bool setWallClock(int64_t microsSinceEpoch);

// Listeners learn of every change made through setWallClock (the wall-clock
// timer queues re-arm). They run on the thread that set the clock.
using ClockListener = std::function<void()>;
int addClockListener(ClockListener listener);
void removeClockListener(int id);

// Seconds in a minute of the board's idle time-outs (the front panel's
// backlight). 60 on the unit; under a board root a whole number from 1 to 60
// in $ROOT/var/lib/railbox/minute_seconds shortens them, so tests see a
// time-out of minutes pass in seconds. Read once.
int minuteSeconds();
}
