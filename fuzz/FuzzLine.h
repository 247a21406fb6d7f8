#pragma once
// The cascade line of a fuzz target: the daemon's serial port opened on a
// plain file below the board root. take() hands over what was written since
// and empties the file, so the line records without growing and nothing
// leaves the process.
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

#include "FuzzBoard.h"
#include "SerialPort.h"
#include "platform/core/BoardRoot.h"

namespace fuzz
{
class FuzzLine
{
public:
    explicit FuzzLine(muduo::net::EventLoop* loop, const char* unitPath = "/dev/ttyS3")
    {
        makeBoardDir("/dev");
        std::ofstream(board::path(unitPath), std::ios::trunc);
        port_ = std::make_shared<SerialPort>(loop, unitPath);
    }

    const std::shared_ptr<SerialPort>& port() const { return port_; }

    std::string take()
    {
        const int fd = port_->fileHandler()->fd();
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        std::string written(end > 0 ? static_cast<size_t>(end) : 0, '\0');
        if (!written.empty() && ::pread(fd, &written[0], written.size(), 0) != end)
            std::abort();
        if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0)
            std::abort();
        return written;
    }

private:
    std::shared_ptr<SerialPort> port_;
};
}
