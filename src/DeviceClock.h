#pragma once
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

    // False, with nothing changed, for a time that is no calendar time the
    // unit's clock can hold (DateTimeCheck) or that the clock refuses.
    bool set(const _DeviceDateTime& local);

    static _DeviceDateTime now();

private:
    ScheduledTaskContainer& tasks_;
    EnergyRecorder& recorder_;
};
