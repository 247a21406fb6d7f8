#include "AwaitedReplies.h"

#include <limits>

namespace
{
int64_t micros(double seconds) { return static_cast<int64_t>(seconds * muduo::Timestamp::kMicroSecondsPerSecond); }
}

// Longer than any hold of its replies a far end is known for (2 s), and
// the meter data time-out: a module silent that long owes nothing.
const double AwaitedReplies::kForget = 3.0;

AwaitedReplies::AwaitedReplies(double wait)
    : wait_(micros(wait)), frames_(), lastReply_(std::numeric_limits<int64_t>::min() / 2)
{
}

void AwaitedReplies::sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact)
{
    dropOldest(firstKept(carried));
    if (count_ == kTracked)
        dropOldest(1);
    at(count_++) = {key, tag, replyLength, exact, false, carried.microSecondsSinceEpoch()};
}

bool AwaitedReplies::answer(uint32_t key, muduo::Timestamp now, int* tag)
{
    dropOldest(firstKept(now));
    lastReply_ = now.microSecondsSinceEpoch();
    int match = find(key, 0);
    if (match < 0)
        return false;
    int reported = -1;
    if (at(match).exact)
    {
        dropOldest(match);  // it answers this one or a later one: those before are lost
        match = matchExact(key, &reported);
    }
    else
    {
        match = matchPoll(key, match, now);
        reported = at(match).tag;
        match = passBefore(match);
    }
    erase(match);
    if (tag)
        *tag = reported;
    return true;
}

int AwaitedReplies::matchExact(uint32_t key, int* reported) const
{
    // The run of frames for the subject asking the same; the reply is taken
    // for the first not passed, most likely the one it answers.
    int match = -1;
    for (int i = 0; i < count_; ++i)
    {
        const Frame& f = at(i);
        if (!f.exact || (f.key & ~kAskMask) != (key & ~kAskMask))
            continue;
        if (f.key != key)
            break;
        *reported = f.tag;
        if (match < 0 && !f.passed)
            match = i;
    }
    return match < 0 ? 0 : match;
}

int AwaitedReplies::matchPoll(uint32_t key, int first, muduo::Timestamp now) const
{
    int head = 0;
    while (head < count_ && at(head).passed)
        ++head;
    if (head == first)
        return first;
    for (int i = first; i >= 0; i = find(key, i + 1))
        if (withinWait(at(i), now))
            return i;
    return first;
}

int AwaitedReplies::find(uint32_t key, int from) const
{
    for (int i = from; i < count_; ++i)
        if (at(i).key == key)
            return i;
    return -1;
}

bool AwaitedReplies::withinWait(const Frame& f, muduo::Timestamp now) const
{
    return f.carried + wait_ > now.microSecondsSinceEpoch();
}

bool AwaitedReplies::answering(muduo::Timestamp now) const
{
    return lastReply_ + wait_ > now.microSecondsSinceEpoch();
}

int AwaitedReplies::owed(muduo::Timestamp now) const
{
    const bool all = answering(now);
    int bytes = 0;
    for (int i = firstKept(now); i < count_; ++i)
        if (!at(i).passed && (all || withinWait(at(i), now)))
            bytes += at(i).replyLength;
    return bytes;
}

muduo::Timestamp AwaitedReplies::nextChange(muduo::Timestamp now) const
{
    if (answering(now))
        return muduo::Timestamp(lastReply_ + wait_);
    // Frames go out in order: the first within its wait runs out first.
    for (int i = firstKept(now); i < count_; ++i)
        if (!at(i).passed && withinWait(at(i), now))
            return muduo::Timestamp(at(i).carried + wait_);
    return muduo::Timestamp::invalid();
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
    if (!answering(now))
        return false;
    const int first = firstKept(now);
    int last = count_ - 1;
    while (last >= first && !agrees(at(last).tag, tag, mask))
        --last;
    return last >= first && !at(last).passed;
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

void AwaitedReplies::erase(int i)
{
    for (int j = i; j > 0; --j)
        at(j) = at(j - 1);
    dropOldest(1);
}

int AwaitedReplies::passBefore(int i)
{
    // The exact frames close up, in order, next to frame i; the rest goes.
    int kept = i;
    for (int j = i - 1; j >= 0; --j)
    {
        if (!at(j).exact)
            continue;
        Frame f = at(j);
        f.passed = true;
        at(--kept) = f;
    }
    dropOldest(kept);
    return i - kept;
}
