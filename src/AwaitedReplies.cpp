#include "AwaitedReplies.h"

namespace
{
int64_t micros(double seconds) { return static_cast<int64_t>(seconds * muduo::Timestamp::kMicroSecondsPerSecond); }
}

// Longer than any hold of its replies a far end is known for (2 s), and
// the meter data time-out: a module silent that long owes nothing.
const double AwaitedReplies::kForget = 3.0;

AwaitedReplies::AwaitedReplies(double wait) : wait_(micros(wait)), frames_() {}

void AwaitedReplies::sent(uint32_t key, int tag, int replyLength, muduo::Timestamp carried)
{
    dropOldest(firstKept(carried));
    if (count_ == kTracked)
        dropOldest(1);
    frames_[(head_ + count_++) % kTracked] = {key, tag, replyLength, carried.microSecondsSinceEpoch()};
}

bool AwaitedReplies::answer(uint32_t key, muduo::Timestamp now, int* tag)
{
    dropOldest(firstKept(now));
    int match = count_ > 0 && at(0).key == key ? 0 : -1;
    int oldest = -1;
    for (int i = 1; match < 0 && i < count_; ++i)
    {
        if (at(i).key != key)
            continue;
        if (owedAt(at(i), now))
            match = i;
        else if (oldest < 0)
            oldest = i;
    }
    if (match < 0)
        match = oldest;  // none owed asks it: the oldest, late
    if (match < 0)
        return false;
    if (tag)
        *tag = at(match).tag;
    dropOldest(match + 1);
    return true;
}

bool AwaitedReplies::owedAt(const Frame& f, muduo::Timestamp now) const
{
    return f.carried + wait_ > now.microSecondsSinceEpoch();
}

int AwaitedReplies::owed(muduo::Timestamp now) const
{
    // Frames go out in order, so those still owed are the newest.
    int bytes = 0;
    for (int i = count_ - 1; i >= 0 && owedAt(at(i), now); --i)
        bytes += at(i).replyLength;
    return bytes;
}

muduo::Timestamp AwaitedReplies::nextDue(muduo::Timestamp now) const
{
    int i = count_;
    while (i > 0 && owedAt(at(i - 1), now))
        --i;
    return i < count_ ? muduo::Timestamp(at(i).carried + wait_) : muduo::Timestamp::invalid();
}

bool AwaitedReplies::holds(int tag, int mask, muduo::Timestamp now) const
{
    for (int i = firstKept(now); i < count_; ++i)
        if (agrees(at(i).tag, tag, mask))
            return true;
    return false;
}

int AwaitedReplies::firstKept(muduo::Timestamp now) const
{
    const int64_t oldest = now.microSecondsSinceEpoch() - micros(kForget);
    int i = 0;
    while (i < count_ && at(i).carried <= oldest)
        ++i;
    return i;
}

void AwaitedReplies::dropOldest(int n)
{
    head_ = (head_ + n) % kTracked;
    count_ -= n;
}
