#include "HardwareWatchdog.h"

#include <fcntl.h>

#include "muduo/base/Logging.h"
#include "platform/core/BoardDevice.h"

const char* const HardwareWatchdog::kDevName = "/dev/watchdog";

HardwareWatchdog::~HardwareWatchdog() { LOG_INFO << "~HardwareWatchdog"; }

bool HardwareWatchdog::open()
{
    if (!openDevice(O_RDWR))
        return false;
    int timeout = kTimeoutSeconds;
    board::deviceIoctl(fd_, kSetTimeoutRequest, &timeout);
    return true;
}

void HardwareWatchdog::feed()
{
    if (fd_ == -1)
        return;
    int unused = 0;  // the driver ignores it; a stand-in records it
    board::deviceIoctl(fd_, kKeepAliveRequest, &unused);
    LOG_INFO << "feed dog";
}
