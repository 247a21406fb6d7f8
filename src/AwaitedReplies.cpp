#include "AwaitedReplies.h"

#include <algorithm>
#include <limits>

namespace
{
int64_t micros(double seconds) { return static_cast<int64_t>(seconds * muduo::Timestamp::kMicroSecondsPerSecond); }
const int64_t kLongAgo = std::numeric_limits<int64_t>::min() / 2;
// Shorter replies take the line too little time to tell its pace from the loop's wake-up.
const int kTimedReply = 16;
// Seconds of the line's pace a busy far end's pace is measured over, so a
// batch of replies read at once does not pass for its pace.
const double kBusySpan = 0.2;
// A far end answering slower than this share of the line is not told from one answering nothing.
const double kSlowestShare = 64;
}

AwaitedReplies::AwaitedReplies(double wait, double bytesPerSecond)
    : wait_(micros(wait)), bytesPerSecond_(std::max(bytesPerSecond, 1.0)), frames_(), lastReply_(kLongAgo),
      busyPace_(bytesPerSecond_), busyFrom_(kLongAgo)
{
}

void AwaitedReplies::sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact,
                          uint64_t seq)
{
    if (count_ == kTracked)
    {
        if (std::find(unsettled_.begin(), unsettled_.end(), at(0).key) == unsettled_.end())
            unsettled_.push_back(at(0).key);
        dropOldest(1);
    }
    at(count_++) = {key, tag, replyLength, exact, carried.microSecondsSinceEpoch(), seq};
    owed_ += replyLength;
}

bool AwaitedReplies::answer(uint32_t key, muduo::Timestamp now, Answer* answered)
{
    const int match = find(key);
    if (match < 0)
        return false;
    const int64_t t = now.microSecondsSinceEpoch();
    const bool quiet = !answering(now);
    const int64_t before = lastReply_;
    lastReply_ = t;
    // Back from a quiet spell, frames after the one it answers past their
    // wait: held back, and coming, or never heard. A marker's reply tells.
    for (int i = match + 1; quiet && !marker_ && i < count_; ++i)
        marker_ = at(i).carried + wait_ <= t;
    notePace(at(match), match == 0 && before <= at(match).carried, before, now);
    dropOldest(match);
    Answer a{at(0).tag, at(0).tag, at(0).seq, settles(key)};
    if (at(0).exact)
        a.tag = at(newestOfRun(key)).tag;
    dropOldest(1);
    if (answered)
        *answered = a;
    return true;
}

bool AwaitedReplies::settles(uint32_t key)
{
    if (std::find(unsettled_.begin(), unsettled_.end(), key) != unsettled_.end())
        return false;
    unsettled_.clear();
    return true;
}

bool AwaitedReplies::takeMarker()
{
    const bool wanted = marker_;
    marker_ = false;
    return wanted;
}

int AwaitedReplies::newestOfRun(uint32_t key) const
{
    int newest = 0;
    for (int i = 1; i < count_; ++i)
    {
        const Frame& f = at(i);
        if (!f.exact || (f.key & ~kAskMask) != (key & ~kAskMask))
            continue;
        if (f.key != key)
            break;
        newest = i;
    }
    return newest;
}

void AwaitedReplies::notePace(const Frame& f, bool alone, int64_t before, muduo::Timestamp now)
{
    const int64_t t = now.microSecondsSinceEpoch();
    // Its frame there before the last reply went, and that one within a wait:
    // the far end sent this one right after it, so a run of them takes their
    // bytes at its pace (a hold between is no part of it).
    if (f.carried > before || t - before >= wait_)
    {
        busyFrom_ = t;
        busyBytes_ = 0;
    }
    else if ((busyBytes_ += f.replyLength) >= kBusySpan * bytesPerSecond_ && t > busyFrom_)
    {
        const double sample = busyBytes_ * 1e6 / static_cast<double>(t - busyFrom_);
        // Down at once, up by halves: a backlog reckoned to drain faster than it does is sent more.
        const double paced = sample < busyPace_ ? sample : (busyPace_ + sample) / 2;
        busyPace_ = std::max(std::min(paced, bytesPerSecond_), bytesPerSecond_ / kSlowestShare);
        busyFrom_ = t;
        busyBytes_ = 0;
    }
    // A reply long enough to time, to a frame heard with no reply before it
    // to send: it took the far end its length at its pace, and its turning round.
    const int64_t took = t - f.carried;
    if (!alone || f.replyLength < kTimedReply || took <= 0)
        return;
    const double sample = f.replyLength * 1e6 / static_cast<double>(took);
    replyPace_ = replyPace_ > 0 ? (3 * replyPace_ + sample) / 4 : sample;
}

int AwaitedReplies::find(uint32_t key) const
{
    for (int i = 0; i < count_; ++i)
        if (at(i).key == key)
            return i;
    return -1;
}

bool AwaitedReplies::answering(muduo::Timestamp now) const
{
    return lastReply_ + wait_ > now.microSecondsSinceEpoch();
}

muduo::Timestamp AwaitedReplies::quietFrom() const
{
    return count_ ? muduo::Timestamp(std::max(lastReply_, at(0).carried) + wait_) : muduo::Timestamp::invalid();
}

bool AwaitedReplies::holds(int tag, int mask) const
{
    for (int i = 0; i < count_; ++i)
        if (agrees(at(i).tag, tag, mask))
            return true;
    return false;
}

void AwaitedReplies::dropOldest(int n)
{
    for (int i = 0; i < n; ++i)
        owed_ -= at(i).replyLength;
    head_ = (head_ + n) % kTracked;
    count_ -= n;
}
