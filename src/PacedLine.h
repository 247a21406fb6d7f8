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
// carries them; the rest waits here, in order. Left to the device, a flood
// would sit in its buffer (KiBs in a UART driver or a pseudo-terminal),
// where the daemon can neither count it nor keep its own frames from
// waiting behind it. The far end answers each frame; a frame goes out only
// while the replies it owes (AwaitedReplies) fit in kOwedWindow of the
// return line. A far end that keeps answering owes every reply it has not
// sent, so however slow it is, it sets the pace and falls no further behind;
// one quiet a while owes only what is still due within a wait at its pace,
// so a silent one holds nothing up for good and one holding a backlog is
// sent little more. Back from a quiet spell, a marker goes first in line:
// its reply shows what the far end never heard. Loop thread only.
class PacedLine : muduo::noncopyable
{
public:
    // A tagged frame went to the device; the line will have carried its
    // last byte carriedIn seconds from now. seq: its place on the line.
    typedef std::function<void(int tag, double carriedIn, uint64_t seq)> FrameOutCallback;

    static constexpr int kMaxFrame = 16;
    // Line time handed to the device ahead of the line: enough to keep it
    // busy between two wake-ups of the loop.
    static const double kLead;
    // Seconds of the return line the replies owed may take.
    static const double kOwedWindow;

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
    bool send(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey, bool exact);
    // The same, first in line and whatever the replies owed: a marker
    // (AwaitedReplies::takeMarker).
    bool sendMarker(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey);
    // A reply naming key came: true with what the ledger reads it as
    // answering (AwaitedReplies::answer); false when no frame out asks that.
    // The caller pumps once it has acted on it.
    bool answer(uint32_t key, AwaitedReplies::Answer* answered);
    // True once after a reply that asks for a marker.
    bool takeMarker() { return awaited_.takeMarker(); }
    // True while a frame out asks key.
    bool asks(uint32_t key) const;
    // True while a tagged frame waits here whose tag agrees with tag in the bits of mask.
    bool holds(int tag, int mask) const;
    // The same of the frames out whose replies may still come.
    bool owes(int tag, int mask) const;
    // True while the far end is answering and still owes the newest frame
    // out agreeing with tag: its reply may come behind others'.
    bool replyComing(int tag, int mask) const;
    // Drops the frames waiting here whose tag agrees with tag in the bits of mask.
    void withdraw(int tag, int mask);
    // Seconds until the line will have carried all it was given: what the
    // device holds or has not taken, at the line's pace, and what waits here,
    // at the pace it drained at lately while frames waited (down at once, up
    // by halves). Before it has gone under load: at the pace the far end's
    // replies took lately, and no slower than what the window lets through
    // to a far end that answers nothing.
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
        bool marker;
        uint32_t replyKey;
        int tag;
    };

    // Seconds of line the device has been given and not yet sent, at now.
    double ahead(muduo::Timestamp now) const;
    bool repliesHaveRoom(const Frame& f, muduo::Timestamp now) const;
    bool queue(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey, bool exact,
               bool marker);
    void wakeAt(muduo::Timestamp when, muduo::Timestamp now);
    // Charged bytes a second the queue drains at.
    double pace() const;
    // Counts what left the queue while frames waited in it.
    void notePace(muduo::Timestamp now, size_t sent);

    muduo::net::FileHandlerPtr device_;
    const double bytesPerSecond_;
    std::deque<Frame> queue_;
    size_t queuedBytes_;  // charged
    double pace_;  // charged bytes a second
    muduo::Timestamp paceFrom_;  // monotonic; invalid while nothing waits
    size_t paceBytes_;  // charged, sent since paceFrom_
    bool measured_;  // pace_ was measured under load
    muduo::Timestamp carriedAt_;  // monotonic
    uint64_t framesOut_;
    AwaitedReplies awaited_;
    std::shared_ptr<PduTimer> timer_;
    bool pumping_;
    FrameOutCallback frameOutCallback_;
};
