#pragma once
#include <cstdint>
#include <vector>

// Alarm limits and switching delays as they travel between the alarms and
// delays tables, the device record and the request handlers.

struct _DeviceInputThreshold
{
    // bit 0 voltage pair, bit 1 warning-current pair, bit 2 cut-off-current pair
    uint8_t mask = 0;
    double warnUpperVoltage = 0;
    double warnLowerVoltage = 0;
    double warnUpperCurrent = 0;
    double warnLowerCurrent = 0;
    double offUpperCurrent = 0;
    double offLowerCurrent = 0;
};

struct _DeviceOutputThreshold
{
    int32_t port = 0;
    double warnUpperCurrent = 0;
    double warnLowerCurrent = 0;
    double offUpperCurrent = 0;
    double offLowerCurrent = 0;
};

// Limits to apply; a limit equal to the invalid value 2147483648.0 is left
// unchanged.
struct _DeviceOutputThresholdSetting
{
    std::vector<_DeviceOutputThreshold> thresholds;
};

struct _DeviceTempHumiThreshold
{
    // bit 0 temperature pair, bit 1 humidity pair
    uint8_t mask = 0;
    double warnUpperTemp = 0;
    double warnLowerTemp = 0;
    double warnUpperHumi = 0;
    double warnLowerHumi = 0;
};

// Seconds; in a list to save, -1 leaves that delay unchanged.
struct _DevicePortDelay
{
    int32_t port = 0;
    int32_t onDelay = 0;
    int32_t offDelay = 0;
    int32_t restartDelay = 0;
};
