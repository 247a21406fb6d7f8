#pragma once
#include <cstdint>

#include "muduo/base/Timestamp.h"

// The line's ledger: the frames out on it whose replies may still come,
// oldest first. The far end answers the frames it hears in order, each reply
// naming what its frame asked (its key): a subject (the key's high bits) and
// what is asked of it (kAskMask). Replies never say which frame they answer,
// so the ledger reads them by three rules:
// - A reply answers the oldest frame out asking the same. Answering in
//   order, the far end never heard, or lost the replies of, the frames
//   before it: they are dropped.
// - Of exact frames (relay commands) the reply reports the newest of the run
//   from there on whose frames for the subject all ask the same: whichever
//   of them it answers, the subject ends as they ask. It also reports the
//   oldest, so a caller can tell a reply that may answer an earlier request.
// - What is owed sets the line's pace. A far end that answered within the
//   last wait owes every frame out. One quiet for a wait owes only the
//   replies still due within it, each due after those before it at the far
//   end's pace: so a silent one holds nothing up for good, and one holding a
//   backlog is sent little more until it answers again. Its first reply
//   after a quiet spell that left frames out past their wait asks for a
//   marker (takeMarker): a frame no other out asks the same as, whose reply
//   shows what went before it answered or never heard.
// A frame is forgotten kForget after its reply was due, or when kTracked
// newer ones are out.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 1024;
    static const double kForget;
    static constexpr uint32_t kAskMask = 0xFF;

    struct Answer
    {
        int tag;        // the reported frame's (see above)
        int earliest;   // the oldest frame's it may answer
        uint64_t seq;   // the place on the line of the frame it is taken for
    };

    // wait: seconds after its frame was carried by which a reply is due.
    // bytesPerSecond: the most the far end can answer with.
    AwaitedReplies(double wait, double bytesPerSecond);

    // A frame went out; the line will have carried it at carried. seq: its
    // place on the line.
    void sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact, uint64_t seq);
    // A reply naming key came at now: true with what it answers (above);
    // false, dropping nothing, when no frame out asks that.
    bool answer(uint32_t key, muduo::Timestamp now, Answer* answered);
    // True once after a reply that asks for a marker.
    bool takeMarker();
    // True while a frame out asks key.
    bool asks(uint32_t key, muduo::Timestamp now) const;
    // Reply bytes owed at now.
    int owed(muduo::Timestamp now) const;
    // True while kTracked frames are remembered: no more should go.
    bool full(muduo::Timestamp now) const;
    // When what is owed falls without a reply coming; invalid when never.
    muduo::Timestamp nextChange(muduo::Timestamp now) const;
    // Reply bytes a second the far end answered at lately, from replies to
    // frames it heard with nothing owed before them; 0 before the first.
    double replyPace() const { return replyPace_; }
    // Reply bytes a second the far end sends while it has a backlog: the
    // line's pace until measured.
    double busyPace() const { return busyPace_; }
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
        int64_t carried;  // monotonic microseconds
        uint64_t seq;
    };

    Frame& at(int i) { return frames_[(head_ + i) % kTracked]; }
    const Frame& at(int i) const { return frames_[(head_ + i) % kTracked]; }
    bool answering(muduo::Timestamp now) const;
    // Calls due(i, micros) for each frame from first, with when its reply is
    // due were the far end answering from its last reply at its busy pace,
    // until due returns false.
    template <typename F>
    void walkDue(int first, F due) const;
    void notePace(const Frame& f, bool alone, int64_t before, muduo::Timestamp now);
    int find(uint32_t key, int from) const;
    // The newest frame of the run of exact frames for key's subject asking
    // key, from the oldest.
    int newestOfRun(uint32_t key) const;
    // The first frame not yet forgotten at now.
    int firstKept(muduo::Timestamp now) const;
    void dropOldest(int n);

    const int64_t wait_;
    const double bytesPerSecond_;
    Frame frames_[kTracked];
    int head_ = 0;
    int count_ = 0;
    int64_t lastReply_;
    bool marker_ = false;
    double replyPace_ = 0;
    double busyPace_;
    int64_t busyFrom_;  // a run of replies sent back to back began
    int busyBytes_ = 0;
};
