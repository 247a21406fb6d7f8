#pragma once
#include <cstdint>

// The relay requests of one outlet out on the power module's line whose
// replies may still come, oldest first. The module answers in order, naming
// the outlet and the action, so a reply answers the oldest awaited request of
// its action, and the requests before that one went unanswered. A request
// given up at its time-out is not forgotten: it is sent again as a copy of
// itself, and every copy's reply may still come. The reply of either copy
// answers the request; a copy's reply that comes after that is owed, and
// taken for it, so it never ends the wait of a newer request. Fixed size:
// beyond kTracked requests the oldest are only counted.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 64;

    enum Reply
    {
        kStray,   // nothing was awaited
        kOlder,   // owed to an older request or copy: the newest still waits
        kNewest,  // answers the newest request
    };

    // A frame went out on the line: a new request's, or again, one more copy
    // of the newest request's.
    void sent(unsigned char action, bool again);
    Reply answer(unsigned char action);
    bool empty() const { return count_ == 0 && untracked_ == 0; }

private:
    // An entry: bit 0 the action, bit 1 answered, from bit 2 the replies still to come.
    static constexpr uint8_t kOn = 1;
    static constexpr uint8_t kAnswered = 2;
    static constexpr int kOwedShift = 2;
    static constexpr int kMostOwed = 63;

    uint8_t& at(int i) { return entries_[(head_ + i) % kTracked]; }
    const uint8_t& at(int i) const { return entries_[(head_ + i) % kTracked]; }
    void dropOldest(int n);

    uint8_t entries_[kTracked] = {};
    int head_ = 0;
    int count_ = 0;
    uint32_t untracked_ = 0;  // replies owed to requests older than the tracked ones
};
