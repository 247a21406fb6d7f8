#include "BeeperModule.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "muduo/base/Logging.h"
#include "platform/core/BoardDevice.h"
#include "platform/core/BoardRoot.h"

const char* const BeeperModule::kDevName = "/dev/beeper";

BeeperModule::BeeperModule()
{
    std::string path = board::path(kDevName);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0)
        LOG_FATAL << "Failed in open " << path << ": " << muduo::strerror_tl(errno);
}

BeeperModule::~BeeperModule()
{
    if (fd_ >= 0)
        ::close(fd_);
}

// The driver's answer changes nothing for the caller: a beeper that did not
// beep is no reason to stop what raised the alarm.
void BeeperModule::request(int count, int on, int off)
{
    int args[3] = {count, on, off};
    board::deviceIoctl(fd_, kBeepRequest, args);
}

bool BeeperModule::beepCount(int count, int on, int off)
{
    request(count, on, off);
    return true;
}

bool BeeperModule::beep(int count, int on, int off)
{
    request(count, on, off);
    return true;
}

bool BeeperModule::beepForever(int on, int off)
{
    request(-1, on, off);
    return true;
}

bool BeeperModule::stop()
{
    request(0, 0, 0);
    return true;
}
