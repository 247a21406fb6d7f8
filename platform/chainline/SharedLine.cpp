#include "SharedLine.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>

namespace chainline
{
namespace
{
const int64_t kBitsPerByte = 10;  // start, eight data bits, stop
const int64_t kNanosPerSecond = 1000000000;
const size_t kMaxQueued = 256 * 1024;  // then the writers' ptys hold the rest
const int64_t kAbsentCheckNanos = 20 * 1000000;
}

SharedLine::SharedLine(std::vector<std::unique_ptr<LineEnd>> ends, LineLog& log, int baud)
    : ends_(std::move(ends)), present_(ends_.size(), false), lost_(ends_.size(), 0), log_(log), baud_(baud)
{
}

int64_t SharedLine::now()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

int64_t SharedLine::wireNanos(size_t bytes) const
{
    return static_cast<int64_t>(bytes) * kBitsPerByte * kNanosPerSecond / baud_;
}

void SharedLine::serve(int stopFd)
{
    std::vector<pollfd> fds;
    std::vector<size_t> polled;
    for (;;)
    {
        for (auto& end : ends_)
            if (!end->unitPresent())
                end->refresh();
        noteChanges();
        const int64_t at = now();
        deliver(at);

        fds.assign(1, pollfd{stopFd, POLLIN, 0});
        polled.clear();
        for (size_t i = 0; i < ends_.size(); ++i)
        {
            // A hung-up end would wake every poll: it is looked at above.
            if (ends_[i]->unitPresent() && queued_ < kMaxQueued)
            {
                fds.push_back(pollfd{ends_[i]->fd(), POLLIN, 0});
                polled.push_back(i);
            }
        }
        const int64_t timeout = pollTimeout(at);
        const timespec wait{static_cast<time_t>(timeout / kNanosPerSecond),
                            static_cast<long>(timeout % kNanosPerSecond)};
        const int ready = ::ppoll(fds.data(), fds.size(), timeout < 0 ? nullptr : &wait, nullptr);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready <= 0)
            continue;
        if (fds[0].revents)
            return;
        for (size_t k = 0; k < polled.size(); ++k)
            if (fds[k + 1].revents)
                take(polled[k], now());
    }
}

int64_t SharedLine::pollTimeout(int64_t at) const
{
    int64_t timeout = -1;  // nothing on the line, every end there
    if (!queue_.empty())
    {
        const Chunk& front = queue_.front();
        timeout = std::max<int64_t>(0, front.start + wireNanos(front.sent + 1) - at);
    }
    if (std::any_of(ends_.begin(), ends_.end(), [](const auto& end) { return !end->unitPresent(); }))
        timeout = timeout < 0 ? kAbsentCheckNanos : std::min(timeout, kAbsentCheckNanos);
    return timeout;
}

void SharedLine::take(size_t end, int64_t at)
{
    uint8_t buffer[4096];
    while (queued_ < kMaxQueued)
    {
        const size_t n = ends_[end]->read(buffer, sizeof buffer);
        if (n == 0)
            break;
        log_.wrote(end, buffer, n);
        const int64_t start = std::max(at, lineFree_);
        queue_.push_back(Chunk{end, std::vector<uint8_t>(buffer, buffer + n), start, 0});
        queued_ += n;
        lineFree_ = start + wireNanos(n);
    }
}

void SharedLine::deliver(int64_t at)
{
    while (!queue_.empty())
    {
        Chunk& chunk = queue_.front();
        const int64_t onWire = at - chunk.start;
        const size_t done =
            onWire <= 0 ? 0
                        : std::min<size_t>(chunk.bytes.size(),
                                           static_cast<size_t>(onWire * baud_ / (kBitsPerByte * kNanosPerSecond)));
        if (done > chunk.sent)
        {
            send(chunk, done - chunk.sent);
            chunk.sent = done;
        }
        if (chunk.sent < chunk.bytes.size())
            return;
        queued_ -= chunk.bytes.size();
        queue_.pop_front();
    }
}

void SharedLine::send(const Chunk& chunk, size_t count)
{
    for (size_t i = 0; i < ends_.size(); ++i)
    {
        if (i == chunk.from || !ends_[i]->unitPresent())
            continue;
        const size_t lost = ends_[i]->write(chunk.bytes.data() + chunk.sent, count);
        if (lost && !lost_[i])
            log_.note(i, "is not reading: bytes are lost");
        else if (!lost && lost_[i])
        {
            log_.note(i, "reads again, " + std::to_string(lost_[i]) + " bytes lost");
            lost_[i] = 0;
        }
        lost_[i] += lost;
    }
}

void SharedLine::noteChanges()
{
    for (size_t i = 0; i < ends_.size(); ++i)
    {
        if (ends_[i]->unitPresent() == present_[i])
            continue;
        present_[i] = ends_[i]->unitPresent();
        std::string what = present_[i] ? "opened" : "closed";
        if (lost_[i])
            what += ", " + std::to_string(lost_[i]) + " bytes lost";
        lost_[i] = 0;
        log_.note(i, what);
    }
}
}
