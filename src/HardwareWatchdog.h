#pragma once
#include "DeviceWatchdog.h"

// The SoC's watchdog through the Linux watchdog interface: a 9 s time-out,
// fed with keep-alive requests.
class HardwareWatchdog : public DeviceWatchdog
{
public:
    static const char* const kDevName;
    static constexpr unsigned long kSetTimeoutRequest = 0xC0045706;  // WDIOC_SETTIMEOUT
    static constexpr unsigned long kKeepAliveRequest = 0x80045705;   // WDIOC_KEEPALIVE
    static constexpr int kTimeoutSeconds = 9;

    HardwareWatchdog() : DeviceWatchdog(kDevName) {}
    ~HardwareWatchdog() override;

    bool open() override;
    void feed() override;
};
