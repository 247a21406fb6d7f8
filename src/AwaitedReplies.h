#pragma once
#include <cstdint>

// The relay frames of one outlet that went out on the power module's line
// and await their replies, oldest first. The module answers in order, naming
// the outlet and the action: a reply answers the oldest awaited frame of its
// action, and the frames before that one went unanswered. So the reply to
// an older frame never ends the wait of a newer one. Fixed size: beyond
// kTracked frames the oldest are only counted.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 64;

    void sent(unsigned char action);
    // False for a reply that answers none of the awaited frames (a late one).
    bool answer(unsigned char action);
    bool empty() const { return count_ == 0 && untracked_ == 0; }
    // The frames still awaited are given up (their wait timed out).
    void clear();

private:
    uint64_t actions_ = 0;  // bit i: the (i + 1)-th oldest tracked frame switches on
    int count_ = 0;
    uint32_t untracked_ = 0;  // older than the tracked ones, actions forgotten
};
