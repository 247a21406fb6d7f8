#pragma once
#include <vector>

#include "DeviceThresholds.h"

// The outlets' switching delays: saved to pdu.db, then taken into the
// record, which the outlet action rule reads. Loop thread only.
class DelaySettings
{
public:
    static const int kUnchanged = -1;
    // The longest delay, in seconds: what the manage-control and cascade
    // wires carry. Anything outside 0 to this is refused, nothing saved.
    static const int kLongest = 65535;

    enum Delay
    {
        kOn,
        kOff,
        kRestart,
    };

    // All or nothing: an entry for an outlet this unit lacks or with a delay
    // out of range refuses the whole list, as does a failed save; either way
    // nothing changes. A delay of -1 keeps the stored value, in pdu.db and in
    // the record alike.
    static bool set(const std::vector<_DevicePortDelay>& delays);

    // One delay of one outlet, stored as given. False for an outlet this
    // unit lacks, a delay out of range or a failed save.
    static bool setOne(int port, Delay delay, int seconds);
};
