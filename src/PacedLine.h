#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "AwaitedReplies.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "netext/FileHandler.h"

class PduTimer;

// Frames for a serial line, handed to its device no faster than the line
// carries them; the rest waits here. Left to the device, a flood would sit
// in its buffer (KiBs in a UART driver or a pseudo-terminal), where the
// daemon can neither count it nor keep its own frames from waiting behind
// it. Frames wait in order, polls ahead of the rest (though never two polls
// in a row while other frames wait), so readings keep their rhythm whatever
// waits; a marker goes first of all.
// The far end answers each frame (AwaitedReplies). While it is answering, a
// frame goes only while the replies it owes fit in kOwedWindow of the return
// line: however slow it is, it sets the pace and falls no further behind.
// Quiet (holding its replies, deaf or gone), it is still carried what waited
// in order when it went quiet, accepted on the line's word; after that only a
// probe now and then, each after a twentieth of the quiet spell so far (at
// most kLongestProbe): a far end holding its replies a long while has little
// to answer once it does, and one that went away is found back soon. Back
// from a quiet spell, a marker goes first: its reply shows what the far end
// never heard. Loop thread only.
class PacedLine : muduo::noncopyable
{
public:
    // A tagged frame went to the device; the line will have carried its
    // last byte carriedIn seconds from now. seq: its place on the line.
    typedef std::function<void(int tag, double carriedIn, uint64_t seq)> FrameOutCallback;

    enum class Turn
    {
        kInOrder,
        kPoll,    // ahead of the frames in order
        kMarker,  // first, whatever the far end owes or is
    };

    static constexpr int kMaxFrame = 16;
    // Line time handed to the device ahead of the line: enough to keep it
    // busy between two wake-ups of the loop.
    static const double kLead;
    // Seconds of the return line the replies owed may take.
    static const double kOwedWindow;
    static const double kLongestProbe;

    // bytesPerSecond: what the line carries each way (19200 baud 8N1: 1920).
    // replyWait: seconds after its frame was carried by which a reply is due.
    PacedLine(muduo::net::EventLoop* loop, muduo::net::FileHandlerPtr device, int bytesPerSecond, double replyWait);
    ~PacedLine();

    // Queues one frame of 1 to kMaxFrame bytes; false (nothing queued) for
    // any other length. A tag of 0 or more is reported when the frame goes out.
    // replyLength: the bytes the far end answers with, its reply naming
    // replyKey. The frame is charged the longer of the two: the answer comes
    // back at the same pace, and would fall behind while the frames keep pace.
    // exact: the reply ends a wait (AwaitedReplies).
    bool send(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey, bool exact,
              Turn turn = Turn::kInOrder);
    // Charged bytes a second the polls take: frames in order get the rest.
    void setPollLoad(double bytesPerSecond) { pollLoad_ = bytesPerSecond; }
    // A reply naming key came: true with what the ledger reads it as
    // answering (AwaitedReplies::answer); false when no frame out asks that.
    // The caller pumps once it has acted on it.
    bool answer(uint32_t key, AwaitedReplies::Answer* answered);
    // True once after a reply that asks for a marker.
    bool takeMarker() { return awaited_.takeMarker(); }
    // True while a frame out asks key.
    bool asks(uint32_t key) const { return awaited_.asks(key); }
    // True while a tagged frame waits here whose tag agrees with tag in the bits of mask.
    bool holds(int tag, int mask) const;
    // The same of the frames out whose replies may still come.
    bool owes(int tag, int mask) const { return awaited_.holds(tag, mask); }
    // True while the far end is answering and still owes the newest frame
    // out agreeing with tag: its reply may come behind others'.
    bool replyComing(int tag, int mask) const;
    // True while the far end is quiet and a frame that went after the one at
    // seq is out unanswered too.
    bool quietSince(uint64_t seq) const;
    // Drops the frames waiting here whose tag agrees with tag in the bits of mask.
    void withdraw(int tag, int mask);
    // Seconds until a frame queued in order now would have been carried:
    // what the device holds or has not taken, at the line's pace; what the far
    // end owes beyond the window, at its busy pace; and what waits here, at
    // the pace it drained at lately while frames waited (down at once, up by
    // halves), less the polls' share. Before it has gone under load: at the
    // pace the far end's replies took lately. Quiet: the longer of that and
    // what the carry and the probes take, should it stay quiet.
    double behind() const;
    // Hands the device what the line has room for: after the device drained,
    // a reply came or a wait ran out.
    void pump();

    void setFrameOutCallback(FrameOutCallback cb) { frameOutCallback_ = std::move(cb); }

private:
    struct Frame
    {
        unsigned char bytes[kMaxFrame];
        uint8_t length;
        uint8_t charged;  // bytes of line time, the answer's included
        uint8_t replyLength;
        bool exact;
        Turn turn;
        uint32_t replyKey;
        int tag;
    };

    // Seconds of line the device has been given and not yet sent, at now.
    double ahead(muduo::Timestamp now) const;
    // The frame to go next: the first, or the first in order after a poll.
    size_t next() const;
    size_t firstInOrder() const;
    // True when f may go at now; else false with when to look again (invalid:
    // when a reply comes). spell: the quiet spell the far end is in, or invalid.
    bool mayGo(const Frame& f, muduo::Timestamp now, muduo::Timestamp spell, muduo::Timestamp* again) const;
    // A frame left the queue.
    void taken(const Frame& f);
    // The quiet spell the far end is in at now, or invalid.
    muduo::Timestamp quietSpell(muduo::Timestamp now) const;
    void wakeAt(muduo::Timestamp when, muduo::Timestamp now);
    // Charged bytes a second the queue drains at; in order, less the polls'.
    double pace() const;
    double inOrderPace() const;
    // Counts what left the queue while frames waited in it.
    void notePace(muduo::Timestamp now, size_t sent);

    muduo::net::FileHandlerPtr device_;
    const double bytesPerSecond_;
    std::deque<Frame> queue_;
    size_t queuedBytes_;  // charged
    size_t queuedInOrder_;  // charged, of the frames in order
    double pace_;  // charged bytes a second
    muduo::Timestamp paceFrom_;  // monotonic; invalid while nothing waits
    size_t paceBytes_;  // charged, sent since paceFrom_
    bool measured_;  // pace_ was measured under load
    double pollLoad_;
    muduo::Timestamp carriedAt_;  // monotonic
    muduo::Timestamp lastOut_;  // the last frame went to the device
    bool lastWasPoll_;
    muduo::Timestamp spell_;  // the quiet spell carryLeft_ is of
    size_t carryLeft_;  // charged bytes in order it still carries
    uint64_t framesOut_;
    AwaitedReplies awaited_;
    std::shared_ptr<PduTimer> timer_;
    bool pumping_;
    FrameOutCallback frameOutCallback_;
};
