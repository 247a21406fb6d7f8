#pragma once
#include <cstdint>

#include "muduo/base/Timestamp.h"

// The line's ledger: the frames out on it whose replies may still come,
// oldest first. The far end answers every frame in order, each reply naming
// what its frame asked (its key), so a reply proves every frame before the
// one it answers lost, and those are dropped. Of the frames asking the same,
// a reply answers:
// - the oldest frame out, when that one asks it: replies keep their order,
//   however late (a far end that held them a while);
// - else the oldest one whose wait has not run out: after a silent spell the
//   far end answers the frames it has just heard, not those it never did;
// - else the oldest one: a late reply, a frame before it lost.
// A frame counts as owed until its wait runs out, and is forgotten kForget
// after the line carried it, or when kTracked newer ones are out.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 512;
    static const double kForget;

    // wait: seconds after its frame was carried by which a reply is due.
    explicit AwaitedReplies(double wait);

    // A frame went out; the line will have carried it at carried.
    void sent(uint32_t key, int tag, int replyLength, muduo::Timestamp carried);
    // A reply naming key came at now: true with the tag of the frame it
    // answers; false, dropping nothing, when no frame out asks that.
    bool answer(uint32_t key, muduo::Timestamp now, int* tag);
    // Reply bytes owed at now by the frames whose wait has not run out.
    int owed(muduo::Timestamp now) const;
    // When the wait of the oldest frame still owed runs out; invalid when none.
    muduo::Timestamp nextDue(muduo::Timestamp now) const;
    // True while a frame out has a tag agreeing with tag in the bits of mask.
    bool holds(int tag, int mask, muduo::Timestamp now) const;
    // A frame's tag (0 or more; -1 is none) that agrees with tag in the bits of mask.
    static bool agrees(int frameTag, int tag, int mask) { return frameTag >= 0 && (frameTag & mask) == (tag & mask); }

private:
    struct Frame
    {
        uint32_t key;
        int tag;
        int replyLength;
        int64_t carried;  // monotonic microseconds
    };

    const Frame& at(int i) const { return frames_[(head_ + i) % kTracked]; }
    bool owedAt(const Frame& f, muduo::Timestamp now) const;
    // The first frame not yet forgotten at now.
    int firstKept(muduo::Timestamp now) const;
    void dropOldest(int n);

    const int64_t wait_;
    Frame frames_[kTracked];
    int head_ = 0;
    int count_ = 0;
};
