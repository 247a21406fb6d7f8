#include "InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

const char* const InstanceLock::kLockFile = "/usr/app/railbox.lock";

InstanceLock::InstanceLock() : fd_(-1), locked_(false)
{
    fd_ = ::open(board::path(kLockFile).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0);
    if (fd_ < 0)
        LOG_WARN << "open lock file failed";
}

InstanceLock::~InstanceLock()
{
    unlock();
    if (fd_ >= 0)
        ::close(fd_);
}

bool InstanceLock::lock()
{
    if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0)
    {
        LOG_WARN << "lock file failed";
        return false;
    }
    locked_ = true;
    return true;
}

void InstanceLock::unlock()
{
    if (locked_)
    {
        ::flock(fd_, LOCK_UN);
        locked_ = false;
    }
}
