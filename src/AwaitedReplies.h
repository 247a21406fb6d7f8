#pragma once
#include <cstdint>

#include "muduo/base/Timestamp.h"

// The line's ledger: the frames out on it whose replies may still come,
// oldest first. The far end answers the frames it hears in order, each reply
// naming what its frame asked (its key): a subject (the key's high bits) and
// what is asked of it (kAskMask). Replies never say which frame they answer,
// so this is a guess; the module's status report closes the loop on it
// (PowerModuleContainer), so a wrong one costs a frame.
// - Exact frames (relay commands, whose replies end waits): a reply is taken
//   for the oldest frame asking the same, and shows the frames before it
//   lost. It reports the newest frame of the run from there on whose frames
//   for the subject all ask the same: whichever of them it answers, the
//   subject ends as they ask. A passed frame (below) takes a reply only where
//   no frame after the passed ones asks the same; else the reply is taken
//   for that one, and shows nothing lost.
// - Polls: a reply answers the oldest frame out when that one asks the same
//   (replies keep their order, however late), else the oldest one asking the
//   same within its wait (after a silent spell the far end answers what it
//   has just heard), else the oldest one. The polls before it are dropped;
//   the exact frames before it are passed: owed no more, but still
//   answerable.
// What is owed sets the line's pace. A far end quiet for a wait owes only
// what is within its wait, so a silent one holds nothing up for good. Its
// first reply after that tells a silence from a hold: where the oldest frame
// asking the same is past its wait and another within it, it answers what it
// has just heard and owes what went out from the newest such frame on (a
// reply taken for an older frame pays for one of those); else it held its
// replies, or was only idle, and owes every frame not passed. A frame is
// forgotten kForget after the line carried it, or when kTracked newer ones
// are out.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 512;
    static const double kForget;
    static constexpr uint32_t kAskMask = 0xFF;

    // wait: seconds after its frame was carried by which a reply is due.
    explicit AwaitedReplies(double wait);

    // A frame went out; the line will have carried it at carried. seq: its
    // place on the line.
    void sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact, uint64_t seq);
    // A reply naming key came at now: true with the tag the reply reports and
    // the place of the frame it answers (see above); false, dropping nothing,
    // when no frame out asks that.
    bool answer(uint32_t key, muduo::Timestamp now, int* tag, uint64_t* seq);
    // Reply bytes owed at now.
    int owed(muduo::Timestamp now) const;
    // When what is owed falls without a reply coming; invalid when never.
    muduo::Timestamp nextChange(muduo::Timestamp now) const;
    // Reply bytes a second the far end answered at lately, from replies to
    // frames it heard with nothing owed before them; 0 before the first.
    double replyPace() const { return replyPace_; }
    // True while a frame out has a tag agreeing with tag in the bits of mask.
    bool holds(int tag, int mask, muduo::Timestamp now) const;
    // True while the far end is answering and still owes the newest frame
    // agreeing with tag: answering in order, it may not have got to it yet.
    bool replyComing(int tag, int mask, muduo::Timestamp now) const;
    // A frame's tag (0 or more; -1 is none) that agrees with tag in the bits of mask.
    static bool agrees(int frameTag, int tag, int mask) { return frameTag >= 0 && (frameTag & mask) == (tag & mask); }

private:
    struct Frame
    {
        uint32_t key;
        int tag;
        uint8_t replyLength;
        bool exact;
        bool passed;
        bool paid;
        int64_t carried;  // monotonic microseconds
        uint64_t seq;
    };

    Frame& at(int i) { return frames_[(head_ + i) % kTracked]; }
    const Frame& at(int i) const { return frames_[(head_ + i) % kTracked]; }
    bool withinWait(const Frame& f, muduo::Timestamp now) const;
    bool answering(muduo::Timestamp now) const;
    bool isOwed(const Frame& f, muduo::Timestamp now) const;
    void notePace(const Frame& f, bool alone, muduo::Timestamp now);
    int find(uint32_t key, int from) const;
    // The frame taken as answered by a reply naming key, of the run from the
    // frame first; *reported gets the tag the reply reports.
    int matchExact(uint32_t key, int first, int* reported) const;
    // The newest frame not passed asking key, carried by now and within its
    // wait; -1 for none.
    int fresh(uint32_t key, muduo::Timestamp now) const;
    // The passed frames, always the oldest ones.
    int passedCount() const;
    int matchPoll(uint32_t key, int first, muduo::Timestamp now) const;
    // The first frame not yet forgotten at now.
    int firstKept(muduo::Timestamp now) const;
    void dropOldest(int n);
    void erase(int i);
    // Of the frames before i, drops the polls and passes the exact ones;
    // returns where frame i is then.
    int passBefore(int i);

    const int64_t wait_;
    Frame frames_[kTracked];
    int head_ = 0;
    int count_ = 0;
    int64_t lastReply_;
    int64_t heardFrom_;  // answering, it owes what was carried from then on
    double replyPace_ = 0;
};
