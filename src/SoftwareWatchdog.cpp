#include "SoftwareWatchdog.h"

#include <fcntl.h>
#include <unistd.h>

#include "muduo/base/Logging.h"

const char* const SoftwareWatchdog::kDevName = "/dev/soft_wdt";

SoftwareWatchdog::~SoftwareWatchdog() { LOG_INFO << "~SoftwareWatchdog"; }

bool SoftwareWatchdog::open() { return openDevice(O_WRONLY); }

// A plain write, also on a stand-in: the device takes no requests, so a
// stand-in file simply collects one 0xAA per feed.
void SoftwareWatchdog::feed()
{
    if (fd_ == -1)
        return;
    unsigned char byte = kFeedByte;
    ssize_t n = ::write(fd_, &byte, 1);
    (void)n;  // a failed feed is not noticed: the driver resets the board
    LOG_INFO << "feed dog";
}
