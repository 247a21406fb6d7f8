#pragma once
#include "DeviceThresholds.h"

// The current limits of single outlets: saved to pdu.db, then taken into the
// record, which the alarm monitor reads. Loop thread only.
class OutletThresholdSettings
{
public:
    enum Limit
    {
        kWarnUpper,
        kWarnLower,
        kOffUpper,
        kOffLower,
    };

    // All or nothing: an entry for an outlet this unit lacks refuses the
    // whole list, as does a failed save; either way nothing changes. A limit
    // equal to the invalid value leaves the stored one as it is, and an entry
    // without any other limit changes nothing. Later entries for the same
    // outlet win.
    static bool set(const _DeviceOutputThresholdSetting& setting);

    // One limit of one outlet, stored as given (the invalid value clears it).
    // False for an outlet this unit lacks or a failed save.
    static bool setOne(int port, Limit limit, double value);
};
