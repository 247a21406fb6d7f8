#pragma once
#include <vector>

#include "DeviceThresholds.h"

// The outlets' switching delays: saved to pdu.db, then taken into the
// record, which the outlet action rule reads. Loop thread only.
class DelaySettings
{
public:
    static const int kUnchanged = -1;

    enum Delay
    {
        kOn,
        kOff,
        kRestart,
    };

    // Entries for outlets this unit lacks are dropped before the save; a
    // delay of -1 keeps the stored value, in pdu.db and in the record alike.
    // False, with nothing changed, when the save fails.
    static bool set(const std::vector<_DevicePortDelay>& delays);

    // One delay of one outlet, stored as given. False for an outlet this
    // unit lacks or a failed save.
    static bool setOne(int port, Delay delay, int seconds);
};
