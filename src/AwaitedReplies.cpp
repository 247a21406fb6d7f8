#include "AwaitedReplies.h"

namespace
{
uint64_t bit(unsigned char action) { return action ? 1u : 0u; }
}

void AwaitedReplies::unqueued()
{
    if (queued_ > 0)
        --queued_;
}

void AwaitedReplies::sent(unsigned char action)
{
    unqueued();
    if (count_ == kTracked)
    {
        actions_ >>= 1;
        --count_;
        if (untracked_ < UINT32_MAX)
            ++untracked_;
    }
    actions_ |= bit(action) << count_;
    ++count_;
}

bool AwaitedReplies::answer(unsigned char action)
{
    if (untracked_ > 0)
    {
        --untracked_;
        return true;
    }
    for (int i = 0; i < count_; ++i)
    {
        if ((actions_ >> i & 1u) != bit(action))
            continue;
        const int answered = i + 1;
        actions_ = answered < 64 ? actions_ >> answered : 0;
        count_ -= answered;
        return true;
    }
    return false;
}

void AwaitedReplies::clear()
{
    // Frames still queued are not out yet: each brings its own wait.
    actions_ = 0;
    count_ = 0;
    untracked_ = 0;
}
