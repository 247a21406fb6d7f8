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

    // Entries for outlets this unit lacks are dropped before the save; a
    // limit equal to the invalid value leaves the stored one as it is, and an
    // entry without any other limit changes nothing. Later entries for the
    // same outlet win. False, with nothing changed, when the save fails.
    static bool set(const _DeviceOutputThresholdSetting& setting);

    // One limit of one outlet, stored as given (the invalid value clears it).
    // False for an outlet this unit lacks or a failed save.
    static bool setOne(int port, Limit limit, double value);
};
