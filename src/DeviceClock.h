#pragma once
#include <ctime>

#include "DeviceRecords.h"

class EnergyRecorder;
class ScheduledTaskContainer;

// The unit's wall clock as clients read and set it, in local calendar time.
// Setting it also writes the hardware clock, re-arms every scheduled task and
// records the energy at once for the new clock. Loop thread only; cheap to
// make per request.
class DeviceClock
{
public:
    DeviceClock(ScheduledTaskContainer& tasks, EnergyRecorder& recorder) : tasks_(tasks), recorder_(recorder) {}

    // Out-of-range fields are normalised (month 13 is January of the next
    // year). False, with nothing changed, when the time cannot be converted
    // or the clock refuses it.
    bool set(const _DeviceDateTime& local);

    static _DeviceDateTime now();
    // Seconds since the epoch of a local calendar time; false when it has no
    // such value (before the epoch, or beyond what the clock can hold).
    static bool toSeconds(const _DeviceDateTime& local, time_t& seconds);

private:
    ScheduledTaskContainer& tasks_;
    EnergyRecorder& recorder_;
};
