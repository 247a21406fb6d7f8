#include "AwaitedReplies.h"

#include <limits>

namespace
{
int64_t micros(double seconds) { return static_cast<int64_t>(seconds * muduo::Timestamp::kMicroSecondsPerSecond); }
const int64_t kLongAgo = std::numeric_limits<int64_t>::min() / 2;
// Shorter replies take the line too little time to tell its pace from the loop's wake-up.
const int kTimedReply = 16;
}

// Longer than any hold of its replies a far end is known for (2 s), and
// the meter data time-out: a module silent that long owes nothing.
const double AwaitedReplies::kForget = 3.0;

AwaitedReplies::AwaitedReplies(double wait)
    : wait_(micros(wait)), frames_(), lastReply_(kLongAgo), heardFrom_(kLongAgo)
{
}

void AwaitedReplies::sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact,
                          uint64_t seq)
{
    dropOldest(firstKept(carried));
    if (count_ == kTracked)
        dropOldest(1);
    at(count_++) = {key, tag, replyLength, exact, false, false, carried.microSecondsSinceEpoch(), seq};
}

bool AwaitedReplies::answer(uint32_t key, muduo::Timestamp now, int* tag, uint64_t* seq)
{
    dropOldest(firstKept(now));
    int match = find(key, 0);
    // Answering again after a quiet wait, with the oldest frame asking the
    // same past its wait: where another is within its wait, it answers what
    // it has just heard (it was silent, and the frames before went unheard);
    // else what it held back, all of which comes.
    if (!answering(now))
    {
        const int heard = match >= 0 && !withinWait(at(match), now) ? fresh(key, now) : -1;
        heardFrom_ = heard >= 0 ? at(heard).carried : kLongAgo;
    }
    const int64_t before = lastReply_;
    lastReply_ = now.microSecondsSinceEpoch();
    if (match < 0)
        return false;
    int reported = -1;
    if (at(match).exact)
    {
        // The passed frames went before a poll answered since: a frame after
        // them asking the same is the likelier.
        const int unpassed = find(key, passedCount());
        if (unpassed >= 0 && unpassed != match)
            match = unpassed;
        else
        {
            dropOldest(match);  // it answers this one or a later one: those before are lost
            match = 0;
        }
        match = matchExact(key, match, &reported);
    }
    else
    {
        match = matchPoll(key, match, now);
        reported = at(match).tag;
        match = passBefore(match);
    }
    notePace(at(match), match == 0 && before <= at(match).carried, now);
    if (!isOwed(at(match), now))
        for (int i = match + 1; i < count_; ++i)
            if (at(i).key == key && isOwed(at(i), now))
            {
                at(i).paid = true;
                break;
            }
    if (seq)
        *seq = at(match).seq;
    erase(match);
    if (tag)
        *tag = reported;
    return true;
}

int AwaitedReplies::matchExact(uint32_t key, int first, int* reported) const
{
    // The run of frames for the subject asking the same from the first; the
    // reply is taken for the first not passed, most likely the one it answers.
    int match = -1;
    for (int i = first; i < count_; ++i)
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
    return match < 0 ? first : match;
}

void AwaitedReplies::notePace(const Frame& f, bool alone, muduo::Timestamp now)
{
    // A reply long enough to time, to a frame heard with no reply before it
    // to send: it took the far end its length at its pace, and its turning round.
    const int64_t took = now.microSecondsSinceEpoch() - f.carried;
    if (!alone || f.replyLength < kTimedReply || took <= 0)
        return;
    const double sample = f.replyLength * 1e6 / static_cast<double>(took);
    replyPace_ = replyPace_ > 0 ? (3 * replyPace_ + sample) / 4 : sample;
}

int AwaitedReplies::fresh(uint32_t key, muduo::Timestamp now) const
{
    int newest = -1;
    for (int i = 0; i < count_ && at(i).carried <= now.microSecondsSinceEpoch(); ++i)
        if (at(i).key == key && !at(i).passed && withinWait(at(i), now))
            newest = i;
    return newest;
}

int AwaitedReplies::matchPoll(uint32_t key, int first, muduo::Timestamp now) const
{
    if (passedCount() == first)
        return first;
    for (int i = first; i >= 0; i = find(key, i + 1))
        if (withinWait(at(i), now))
            return i;
    return first;
}

int AwaitedReplies::passedCount() const
{
    int n = 0;
    while (n < count_ && at(n).passed)
        ++n;
    return n;
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

bool AwaitedReplies::isOwed(const Frame& f, muduo::Timestamp now) const
{
    // Frames whose wait ran out before the far end began answering again
    // went to a silent far end, or to one holding its replies: not counted.
    return !f.passed && !f.paid && (answering(now) ? f.carried >= heardFrom_ : withinWait(f, now));
}

int AwaitedReplies::owed(muduo::Timestamp now) const
{
    int bytes = 0;
    for (int i = firstKept(now); i < count_; ++i)
        if (isOwed(at(i), now))
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
    return last >= first && isOwed(at(last), now);
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
