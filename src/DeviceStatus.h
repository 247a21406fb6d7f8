#pragma once
#include <array>
#include <cstdint>

// Live measurements of one unit, as the power module, the sensor and the
// ping watchdogs report them.

struct _DeviceInputStatus
{
    double voltage = 0;  // V
    double current = 0;  // A
    double power = 0;    // W
    double factor = 0;   // power factor, at most 1.0
    double energy = 0;   // kWh
};

struct _DeviceOutputStatus
{
    int32_t port = 0;
    uint8_t overloaded = 0;  // cut off by the alarm monitor for overload
    double voltage = 0;
    double current = 0;
    double power = 0;
    double factor = 0;
    double energy = 0;
};

struct _EnvironmentalStatus
{
    bool valid = false;
    double temperature = 0;  // degrees Celsius; 2147483648.0 when missing
    double humidity = 0;     // %; 2147483648.0 when missing
};

struct _DeviceStatus
{
    // Outlet slots of the live status (and of a slave's record).
    static constexpr int kPortSlots = 60;

    uint64_t onOffMask = 0;
    uint64_t calibratedMask = 0;
    bool inputCalibrated = false;
    int32_t calibratingPort = -1;  // -1 none; written only by the front panel
    _DeviceInputStatus input;
    std::array<_DeviceOutputStatus, kPortSlots> outputs{};
    _EnvironmentalStatus environment;
    std::array<uint8_t, kPortSlots> pingActionDone{};
    std::array<uint8_t, kPortSlots> pingTestResult{};
};
