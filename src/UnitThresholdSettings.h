#pragma once
#include "DeviceThresholds.h"

// The unit-wide alarm limits (inlet voltage and current, temperature and
// humidity): saved to pdu.db, then taken into the record, which the alarm
// monitor reads. The record's pair masks are never changed. Loop thread only.
class UnitThresholdSettings
{
public:
    enum Limit
    {
        kCurrentUpper,
        kCurrentLower,
        kVoltageUpper,
        kVoltageLower,
        kTempUpper,
        kTempLower,
        kHumiUpper,
        kHumiLower,
    };

    // Saves the pairs the mask selects (bit 0 voltage, 1 warning current,
    // 2 cut-off current) as given, and takes the voltage and warning-current
    // pairs into the record. False, with nothing changed, when the save fails.
    static bool setInput(const _DeviceInputThreshold& threshold);
    // Saves and takes the pairs the mask selects (bit 0 temperature,
    // 1 humidity) as given.
    static bool setTempHumi(const _DeviceTempHumiThreshold& threshold);
    // One warning limit, stored as given.
    static bool setOne(Limit limit, double value);
};
