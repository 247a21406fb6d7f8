#include "LineEnd.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace chainline
{
bool LineEnd::open(const std::string& linkPath, std::string& error)
{
    present_ = false;
    return pty_.open(linkPath, error, false);
}

bool LineEnd::refresh()
{
    pollfd p{fd(), POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    const bool present = !(p.revents & POLLHUP);
    const bool changed = present != present_;
    present_ = present;
    return changed;
}

size_t LineEnd::read(uint8_t* out, size_t max)
{
    const ssize_t n = ::read(fd(), out, max);
    if (n > 0)
        return static_cast<size_t>(n);
    if (n < 0 && errno == EIO)  // the slave side was closed and is drained
        present_ = false;
    return 0;
}

size_t LineEnd::write(const uint8_t* data, size_t n)
{
    size_t done = 0;
    while (done < n)
    {
        const ssize_t w = ::write(fd(), data + done, n - done);
        if (w > 0)
            done += static_cast<size_t>(w);
        else if (w < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return n - done;
}
}
