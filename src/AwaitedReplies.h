#pragma once
#include <cstdint>

// The relay frames of one outlet whose replies are awaited: those still
// queued for the power module's line, and those out on it, oldest first.
// The module answers in order, naming the outlet and the action: a reply
// answers the oldest awaited frame of its action, and the frames before that
// one went unanswered. So the reply to an older frame never ends the wait of
// a newer one. Fixed size: beyond kTracked frames out the oldest are only
// counted.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 64;

    // A frame joined the line's queue; unqueued: it could not after all.
    void queued() { ++queued_; }
    void unqueued();
    // A queued frame went out on the line.
    void sent(unsigned char action);
    // False for a reply that answers none of the frames out (a late one).
    bool answer(unsigned char action);
    bool waitingForLine() const { return queued_ > 0; }
    bool empty() const { return queued_ == 0 && count_ == 0 && untracked_ == 0; }
    // The frames out are given up (their wait timed out).
    void clear();

private:
    int queued_ = 0;
    uint64_t actions_ = 0;  // bit i: the (i + 1)-th oldest tracked frame switches on
    int count_ = 0;
    uint32_t untracked_ = 0;  // older than the tracked ones, actions forgotten
};
