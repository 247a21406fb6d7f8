#include "LcdRecorder.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "LcdPngWriter.h"

namespace
{
// Several records make one screen update: render once the stream pauses.
constexpr int kSettleMillis = 20;
constexpr int kTailMillis = 50;
}

LcdRecorder::LcdRecorder(Options options)
    : options_(std::move(options)), parser_([this](const LcdRecord& r) { changed_ = panel_.apply(r) || changed_; })
{
}

void LcdRecorder::consume(const uint8_t* data, size_t length)
{
    parser_.feed(data, length);
    uint64_t rejects = parser_.oversizeRecords() + panel_.rejectedRecords();
    if (rejects != reportedRejects_)
    {
        std::fprintf(stderr, "lcd-recorder: %llu malformed or unknown records so far\n",
                     static_cast<unsigned long long>(rejects));
        reportedRejects_ = rejects;
    }
}

bool LcdRecorder::render()
{
    changed_ = false;
    std::string error;
    if (LcdPngWriter::write(panel_, options_.image, options_.scale, &error))
        return true;
    std::fprintf(stderr, "lcd-recorder: %s\n", error.c_str());
    return false;
}

int LcdRecorder::run()
{
    struct stat st;
    if (::stat(options_.device.c_str(), &st) != 0)
    {
        if (errno != ENOENT || ::mkfifo(options_.device.c_str(), 0660) != 0 || ::stat(options_.device.c_str(), &st) != 0)
        {
            std::fprintf(stderr, "lcd-recorder: cannot use %s: %s\n", options_.device.c_str(), std::strerror(errno));
            return 1;
        }
    }
    bool fifo = S_ISFIFO(st.st_mode);
    // Read-write keeps a FIFO open across the daemon's restarts (no end of file).
    int fd = ::open(options_.device.c_str(), (fifo ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
    {
        std::fprintf(stderr, "lcd-recorder: cannot open %s: %s\n", options_.device.c_str(), std::strerror(errno));
        return 1;
    }
    if (!render())
    {
        ::close(fd);
        return 1;
    }
    int rc = fifo ? followFifo(fd) : followFile(fd);
    ::close(fd);
    return rc;
}

int LcdRecorder::followFifo(int fd)
{
    uint8_t buf[4096];
    for (;;)
    {
        struct pollfd pfd = {fd, POLLIN, 0};
        int n = ::poll(&pfd, 1, changed_ ? kSettleMillis : -1);
        if (n < 0 && errno != EINTR)
            return 1;
        if (n == 0)
        {
            render();
            continue;
        }
        ssize_t got = ::read(fd, buf, sizeof buf);
        if (got > 0)
            consume(buf, static_cast<size_t>(got));
        else if (got < 0 && errno != EINTR && errno != EAGAIN)
            return 1;
    }
}

int LcdRecorder::followFile(int fd)
{
    uint8_t buf[4096];
    off_t offset = 0;
    for (;;)
    {
        ssize_t got = ::pread(fd, buf, sizeof buf, offset);
        if (got > 0)
        {
            offset += got;
            consume(buf, static_cast<size_t>(got));
            continue;
        }
        if (got < 0 && errno != EINTR)
            return 1;
        if (changed_ && !render())
            return 1;
        if (options_.once)
            return 0;
        struct stat st;
        if (::fstat(fd, &st) == 0 && st.st_size < offset)
        {
            offset = 0;  // truncated: a new daemon started over
            parser_.reset();
        }
        ::usleep(kTailMillis * 1000);
    }
}
