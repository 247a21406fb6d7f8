#include "support/FifoDevice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "platform/core/BoardRoot.h"

namespace test
{
FifoDevice::FifoDevice(const std::string& boardPath) : path_(board::path(boardPath)), fd_(-1)
{
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    ::unlink(path_.c_str());
    if (::mkfifo(path_.c_str(), 0600) != 0)
        throw std::runtime_error("mkfifo " + path_);
    // Read-write: opening never blocks, and the FIFO always has a writer.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error("open " + path_);
}

FifoDevice::~FifoDevice()
{
    if (fd_ >= 0)
        ::close(fd_);
    ::unlink(path_.c_str());
}

void FifoDevice::write(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("write " + path_);
        done += static_cast<size_t>(n);
    }
}
}
