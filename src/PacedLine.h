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
// while the replies still owed fit in kOwedWindow of the return line, so
// the pace follows the replies: a far end answering slower than the line
// falls no further behind, and one answering at two thirds of the line's
// pace or faster has each reply back within a wait of twice kOwedWindow.
// Loop thread only.
class PacedLine : muduo::noncopyable
{
public:
    // A tagged frame went to the device; the line will have carried its
    // last byte carriedIn seconds from now.
    typedef std::function<void(int tag, double carriedIn)> FrameOutCallback;

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
    bool send(const unsigned char* frame, int length, int tag, int replyLength, uint32_t replyKey);
    // A reply naming key came: true with the tag of the frame it answers (the
    // frames before that one are lost); false when no frame out asks that.
    // The caller pumps once it has acted on the reply.
    bool answer(uint32_t key, int* tag);
    // True while a tagged frame waits here whose tag agrees with tag in the bits of mask.
    bool holds(int tag, int mask) const;
    // The same of the frames out whose replies may still come.
    bool owes(int tag, int mask) const;
    // Drops the frames waiting here whose tag agrees with tag in the bits of mask.
    void withdraw(int tag, int mask);
    // Seconds until the line will have carried all it was given: what waits
    // here, what the device has not taken and what it holds.
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
        uint32_t replyKey;
        int tag;
    };

    // Seconds of line the device has been given and not yet sent, at now.
    double ahead(muduo::Timestamp now) const;
    bool repliesHaveRoom(const Frame& f, muduo::Timestamp now) const;
    void wakeAt(muduo::Timestamp when, muduo::Timestamp now);

    muduo::net::FileHandlerPtr device_;
    const double bytesPerSecond_;
    std::deque<Frame> queue_;
    size_t queuedBytes_;  // charged
    muduo::Timestamp carriedAt_;  // monotonic
    AwaitedReplies awaited_;
    std::shared_ptr<PduTimer> timer_;
    bool pumping_;
    FrameOutCallback frameOutCallback_;
};
