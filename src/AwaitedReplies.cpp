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

// Longer than any hold of its replies a far end is known for (2 s), and
// the meter data time-out: a module silent that long owes nothing.
const double AwaitedReplies::kForget = 3.0;

AwaitedReplies::AwaitedReplies(double wait, double bytesPerSecond)
    : wait_(micros(wait)), bytesPerSecond_(std::max(bytesPerSecond, 1.0)), frames_(),
      lastReply_(kLongAgo), busyPace_(bytesPerSecond_), busyFrom_(kLongAgo)
{
}

void AwaitedReplies::sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact,
                          uint64_t seq)
{
    dropOldest(firstKept(carried));
    if (count_ == kTracked)
        dropOldest(1);
    at(count_++) = {key, tag, replyLength, exact, carried.microSecondsSinceEpoch(), seq};
}

bool AwaitedReplies::answer(uint32_t key, muduo::Timestamp now, Answer* answered)
{
    dropOldest(firstKept(now));
    const int64_t t = now.microSecondsSinceEpoch();
    const bool quiet = !answering(now);
    const int64_t before = lastReply_;
    lastReply_ = t;
    const int match = find(key, 0);
    // Back from a quiet spell, frames after the one it answers past their
    // wait: held back, and coming, or never heard. A marker's reply tells.
    for (int i = match + 1; quiet && !marker_ && i < count_; ++i)
        marker_ = at(i).carried + wait_ <= t;
    if (match < 0)
        return false;
    notePace(at(match), match == 0 && before <= at(match).carried, before, now);
    dropOldest(match);
    Answer a{at(0).tag, at(0).tag, at(0).seq};
    if (at(0).exact)
        a.tag = at(newestOfRun(key)).tag;
    dropOldest(1);
    if (answered)
        *answered = a;
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

template <typename F>
void AwaitedReplies::walkDue(int first, F due) const
{
    int64_t t = lastReply_;
    for (int i = first; i < count_; ++i)
    {
        t = std::max(t, at(i).carried) + static_cast<int64_t>(at(i).replyLength * 1e6 / busyPace_);
        if (!due(i, t))
            return;
    }
}

int AwaitedReplies::find(uint32_t key, int from) const
{
    for (int i = from; i < count_; ++i)
        if (at(i).key == key)
            return i;
    return -1;
}

bool AwaitedReplies::answering(muduo::Timestamp now) const
{
    return lastReply_ + wait_ > now.microSecondsSinceEpoch();
}

bool AwaitedReplies::asks(uint32_t key, muduo::Timestamp now) const { return find(key, firstKept(now)) >= 0; }

int AwaitedReplies::owed(muduo::Timestamp now) const
{
    int bytes = 0;
    const bool all = answering(now);
    walkDue(firstKept(now), [&](int i, int64_t due) {
        if (all || due + wait_ > now.microSecondsSinceEpoch())
            bytes += at(i).replyLength;
        return true;
    });
    return bytes;
}

muduo::Timestamp AwaitedReplies::nextChange(muduo::Timestamp now) const
{
    if (answering(now))
        return muduo::Timestamp(lastReply_ + wait_);
    // Due in order: the first still due runs out first.
    int64_t next = -1;
    walkDue(firstKept(now), [&](int, int64_t due) {
        if (due + wait_ <= now.microSecondsSinceEpoch())
            return true;
        next = due + wait_;
        return false;
    });
    return next < 0 ? muduo::Timestamp::invalid() : muduo::Timestamp(next);
}

bool AwaitedReplies::holds(int tag, int mask, muduo::Timestamp now) const
{
    for (int i = firstKept(now); i < count_; ++i)
        if (agrees(at(i).tag, tag, mask))
            return true;
    return false;
}

bool AwaitedReplies::replyComing(int tag, int mask, muduo::Timestamp now) const
{
    return answering(now) && holds(tag, mask, now);
}

int AwaitedReplies::firstKept(muduo::Timestamp now) const
{
    // Due counts from the far end's last reply: a backlog it answers in order is remembered however long it takes.
    const int64_t oldest = now.microSecondsSinceEpoch() - micros(kForget);
    int kept = 0;
    walkDue(0, [&](int i, int64_t due) {
        if (due > oldest)
            return false;
        kept = i + 1;
        return true;
    });
    return kept;
}

bool AwaitedReplies::full(muduo::Timestamp now) const
{
    // Asked before every frame goes: walk the dues only when it may be.
    return count_ == kTracked && firstKept(now) == 0;
}

void AwaitedReplies::dropOldest(int n)
{
    head_ = (head_ + n) % kTracked;
    count_ -= n;
}
