#pragma once
#include <cstdint>
#include <vector>

#include "muduo/base/Timestamp.h"

// The line's ledger: the frames out on it whose replies may still come,
// oldest first. The far end answers the frames it hears in order, each reply
// naming what its frame asked (its key): a subject (the key's high bits) and
// what is asked of it (kAskMask). Replies never say which frame they answer,
// so the ledger reads them by two rules:
// - A reply answers the oldest frame out asking the same: the earliest it
//   may answer. Answering in order, the far end never heard, or lost the
//   replies of, the frames before it: they are dropped. Nothing else drops
//   a frame, however late its reply: a far end may hold its replies for
//   any time and still answer each.
// - Of exact frames (relay commands) the reply reports the newest of the run
//   from there on whose frames for the subject all ask the same: whichever
//   of them it answers, the subject ends as they ask. It also reports the
//   oldest, so a caller can tell a reply that may answer an earlier request.
// A reply no frame out asks for (a second talker, a confused firmware) is no
// sign of the far end hearing anything: it changes nothing. Past kTracked
// frames out the oldest is dropped unanswered; until a reply shows every such
// frame settled (its key asked by none of them), no reply is certain.
// The far end is answering while a reply came within the last wait; quiet
// from a wait after the later of its last reply and the oldest frame's
// carrying. Its first reply after a quiet spell that left frames out past
// their wait asks for a marker (takeMarker): a frame no other out asks the
// same as, whose reply shows what went before it answered or never heard.
class AwaitedReplies
{
public:
    static constexpr int kTracked = 1024;
    static constexpr uint32_t kAskMask = 0xFF;

    struct Answer
    {
        int tag;        // the reported frame's (see above)
        int earliest;   // the oldest frame's it may answer
        uint64_t seq;   // the place on the line of the frame it is taken for
        bool certain;   // no frame dropped unanswered may be the one it answers
    };

    // wait: seconds after its frame was carried by which a reply is due.
    // bytesPerSecond: the most the far end can answer with.
    AwaitedReplies(double wait, double bytesPerSecond);

    // A frame went out; the line will have carried it at carried. seq: its
    // place on the line.
    void sent(uint32_t key, int tag, uint8_t replyLength, muduo::Timestamp carried, bool exact, uint64_t seq);
    // A reply naming key came at now: true with what it answers (above);
    // false, changing nothing, when no frame out asks that.
    bool answer(uint32_t key, muduo::Timestamp now, Answer* answered);
    // True once after a reply that asks for a marker.
    bool takeMarker();
    // True while a frame out asks key.
    bool asks(uint32_t key) const { return find(key) >= 0; }
    // Reply bytes of the frames out.
    int owed() const { return owed_; }
    // The place on the line of the newest frame out, 0 when none is.
    uint64_t newestSeq() const { return count_ ? at(count_ - 1).seq : 0; }
    // When the far end counts as quiet, if no reply comes; invalid while no frame is out.
    muduo::Timestamp quietFrom() const;
    bool answering(muduo::Timestamp now) const;
    // Reply bytes a second the far end answered at lately, from replies to
    // frames it heard with nothing owed before them; 0 before the first.
    double replyPace() const { return replyPace_; }
    // Reply bytes a second the far end sends while it has a backlog: the
    // line's pace until measured.
    double busyPace() const { return busyPace_; }
    // True while a frame out has a tag agreeing with tag in the bits of mask.
    bool holds(int tag, int mask) const;
    // True while the far end is answering and still owes the newest frame
    // agreeing with tag: answering in order, it may not have got to it yet.
    bool replyComing(int tag, int mask, muduo::Timestamp now) const { return answering(now) && holds(tag, mask); }
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
    void notePace(const Frame& f, bool alone, int64_t before, muduo::Timestamp now);
    int find(uint32_t key) const;
    // The newest frame of the run of exact frames for key's subject asking
    // key, from the oldest.
    int newestOfRun(uint32_t key) const;
    // A reply taken for a kept frame asking key: true when no frame dropped
    // unanswered asked key, which then settles them all (they went before).
    bool settles(uint32_t key);
    void dropOldest(int n);

    const int64_t wait_;
    const double bytesPerSecond_;
    Frame frames_[kTracked];
    int head_ = 0;
    int count_ = 0;
    int owed_ = 0;
    // The keys of frames dropped unanswered, not yet settled: at most the
    // few the far end is ever asked (a port's meter reading, its relay).
    std::vector<uint32_t> unsettled_;
    int64_t lastReply_;
    bool marker_ = false;
    double replyPace_ = 0;
    double busyPace_;
    int64_t busyFrom_;  // a run of replies sent back to back began
    int busyBytes_ = 0;
};
