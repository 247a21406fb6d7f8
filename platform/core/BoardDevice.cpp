#include "platform/core/BoardDevice.h"

#include <cerrno>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace board
{
namespace
{
bool isCharDevice(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode);
}

bool isPlainFile(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

void putBe32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

ssize_t writeRecord(int fd, uint8_t kind, uint32_t a, const void* data, uint32_t size)
{
    std::string rec;
    rec.reserve(kRecordHeader + size);
    rec.push_back(static_cast<char>(kind));
    putBe32(rec, a);
    putBe32(rec, kind == kIoctlRecord ? size : 0);
    if (size)
        rec.append(static_cast<const char*>(data), size);
    // A plain-file stand-in keeps the history of earlier runs: the daemon
    // opens devices without O_APPEND, as a character device needs none.
    if (isPlainFile(fd))
        ::lseek(fd, 0, SEEK_END);
    ssize_t n = ::write(fd, rec.data(), rec.size());
    return n == static_cast<ssize_t>(rec.size()) ? static_cast<ssize_t>(size) : -1;
}
}

int deviceIoctl(int fd, unsigned long request, void* arg)
{
    if (isCharDevice(fd))
        return ::ioctl(fd, request, arg);
    uint32_t size = _IOC_SIZE(request);
    if (size && !arg)
    {
        errno = EFAULT;
        return -1;
    }
    return writeRecord(fd, kIoctlRecord, static_cast<uint32_t>(request), arg, size) < 0 ? -1 : 0;
}

ssize_t deviceWrite(int fd, const void* data, size_t length)
{
    if (isCharDevice(fd))
        return ::write(fd, data, length);
    return writeRecord(fd, kWriteRecord, static_cast<uint32_t>(length), data, static_cast<uint32_t>(length));
}
}
