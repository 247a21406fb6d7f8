#include "DeviceWatchdog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

DeviceWatchdog::~DeviceWatchdog()
{
    if (fd_ != -1)
        ::close(fd_);
}

bool DeviceWatchdog::openDevice(int flags)
{
    std::string path = board::path(devName_);
    // Close-on-exec: a shell command the daemon starts must not keep the dog alive.
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
    {
        LOG_ERROR << "Failed in open " << path << ": " << muduo::strerror_tl(errno);
        return false;
    }
    if (fd_ != -1)
        ::close(fd_);
    fd_ = fd;
    LOG_INFO << "open " << path << " ok";
    return true;
}
