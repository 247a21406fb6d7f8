#pragma once
#include "DeviceWatchdog.h"

// The board's own software watchdog driver, fed with the byte 0xAA; its
// time-out is the driver's.
class SoftwareWatchdog : public DeviceWatchdog
{
public:
    static const char* const kDevName;
    static constexpr unsigned char kFeedByte = 0xAA;

    SoftwareWatchdog() : DeviceWatchdog(kDevName) {}
    ~SoftwareWatchdog() override;

    bool open() override;
    void feed() override;
};
