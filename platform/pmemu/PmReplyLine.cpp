#include "PmReplyLine.h"

#include <algorithm>
#include <unistd.h>

namespace pmemu
{
void PmReplyLine::setDelay(Millis delay)
{
    std::lock_guard<std::mutex> lock(mutex_);
    delay_ = std::max(delay, Millis(0));
}

void PmReplyLine::setSplit(size_t pieceBytes, Millis gap)
{
    std::lock_guard<std::mutex> lock(mutex_);
    pieceBytes_ = pieceBytes;
    gap_ = std::max(gap, Millis(0));
}

void PmReplyLine::setPace(int bytesPerSecond)
{
    std::lock_guard<std::mutex> lock(mutex_);
    pace_ = std::max(bytesPerSecond, 0);
}

int PmReplyLine::pace() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return pace_;
}

void PmReplyLine::hold(bool held)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // What waited starts on the line at the release, not back when it was ready.
    if (held_ && !held)
        free_ = std::max(free_, Clock::now());
    held_ = held;
}

bool PmReplyLine::held() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return held_;
}

void PmReplyLine::queue(const Bytes& reply, Clock::time_point received)
{
    std::lock_guard<std::mutex> lock(mutex_);
    queueLocked(reply, received + delay_, received, true);
}

void PmReplyLine::queueUnasked(const Bytes& reply, Clock::time_point ready)
{
    std::lock_guard<std::mutex> lock(mutex_);
    queueLocked(reply, ready, ready, false);
}

void PmReplyLine::queueLocked(const Bytes& reply, Clock::time_point ready, Clock::time_point received, bool answer)
{
    // Answers come ready in the order they are queued; an unasked reply may
    // be ready before the answers at the back: it goes before those.
    size_t before = pieces_.size();
    for (size_t i = pieces_.size(); !answer && i-- > 0 && pieces_[i].ready > ready;)
        if (i == 0 ? !midReply_ : pieces_[i - 1].last)
            before = i;
    const size_t piece = pieceBytes_ > 0 ? pieceBytes_ : reply.size();
    for (size_t at = 0; at < reply.size(); at += piece, ++before)
    {
        const size_t end = std::min(at + piece, reply.size());
        pieces_.insert(pieces_.begin() + static_cast<long>(before),
                       {ready, at == 0 ? Millis(0) : gap_,
                        Bytes(reply.begin() + static_cast<long>(at), reply.begin() + static_cast<long>(end)),
                        received, end == reply.size(), answer});
    }
    waiting_ += reply.size();
}

PmReplyLine::Clock::time_point PmReplyLine::carried(const Piece& piece) const
{
    const Clock::time_point start = std::max(piece.ready, free_ + piece.after);
    if (pace_ <= 0)
        return start;
    return start + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>(static_cast<double>(piece.bytes.size()) / pace_));
}

void PmReplyLine::sendDue(int fd)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = Clock::now();
    while (!held_ && !pieces_.empty())
    {
        const Clock::time_point end = carried(pieces_.front());
        if (end > now)
            break;
        const Piece& piece = pieces_.front();
        // A full slave queue (nobody reading) loses the rest, as a line would.
        (void)!::write(fd, piece.bytes.data(), piece.bytes.size());
        // The line's own time, not the write's: a late wake-up costs the line nothing.
        free_ = end;
        waiting_ -= piece.bytes.size();
        midReply_ = !piece.last;
        // The write's time, though: it is when the far end can have the reply.
        if (piece.last && piece.answer)
        {
            if (times_.size() == kTimesKept)
                times_.pop_front();
            times_.push_back({piece.received, now});
        }
        pieces_.pop_front();
    }
}

PmReplyLine::Millis PmReplyLine::untilNext(Millis most) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (held_ || pieces_.empty())
        return most;
    const Millis wait = std::chrono::ceil<Millis>(carried(pieces_.front()) - Clock::now());
    return std::clamp(wait, Millis(0), most);
}

size_t PmReplyLine::waitingBytes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_;
}

std::vector<PmReplyLine::ReplyTime> PmReplyLine::replyTimes(Clock::time_point since) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto first = std::lower_bound(times_.begin(), times_.end(), since,
                                        [](const ReplyTime& t, Clock::time_point at) { return t.written < at; });
    return std::vector<ReplyTime>(first, times_.end());
}
}
