#pragma once
#include "Watchdog.h"

// A watchdog behind a device file of the board. A failed open is only an
// ERROR: the caller tries the next watchdog.
class DeviceWatchdog : public Watchdog
{
protected:
    explicit DeviceWatchdog(const char* devName) : devName_(devName) {}
    ~DeviceWatchdog() override;

    bool openDevice(int flags);

    int fd_ = -1;

private:
    const char* devName_;
};
