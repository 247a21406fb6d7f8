#include "AwaitedReplies.h"

namespace
{
uint8_t bit(unsigned char action) { return action ? 1u : 0u; }
}

void AwaitedReplies::sent(unsigned char action, bool again)
{
    if (again && count_ > 0)
    {
        uint8_t& newest = at(count_ - 1);
        const int owed = newest >> kOwedShift;
        if ((newest & kOn) == bit(action) && !(newest & kAnswered) && owed < kMostOwed)
        {
            newest = static_cast<uint8_t>((owed + 1) << kOwedShift | (newest & kOn));
            return;
        }
    }
    if (count_ == kTracked)
    {
        const uint32_t owed = at(0) >> kOwedShift;
        untracked_ = untracked_ > UINT32_MAX - owed ? UINT32_MAX : untracked_ + owed;
        dropOldest(1);
    }
    at(count_++) = static_cast<uint8_t>(1 << kOwedShift | bit(action));
}

AwaitedReplies::Reply AwaitedReplies::answer(unsigned char action)
{
    // Older than every tracked request: its reply comes first, its action is forgotten.
    if (untracked_ > 0)
    {
        --untracked_;
        return kOlder;
    }
    for (int i = 0; i < count_; ++i)
    {
        if ((at(i) & kOn) != bit(action))
            continue;
        dropOldest(i);  // answered out of turn: lost on the line
        const uint8_t entry = at(0);
        const bool first = !(entry & kAnswered);
        const bool newest = count_ == 1;
        const int owed = (entry >> kOwedShift) - 1;
        if (owed > 0)
            at(0) = static_cast<uint8_t>(owed << kOwedShift | kAnswered | (entry & kOn));
        else
            dropOldest(1);
        return first && newest ? kNewest : kOlder;
    }
    return count_ == 0 ? kStray : kOlder;
}

void AwaitedReplies::dropOldest(int n)
{
    head_ = (head_ + n) % kTracked;
    count_ -= n;
}
