#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "netext/FileHandler.h"

class PduTimer;

// Frames for a serial line, handed to its device no faster than the line
// carries them; the rest waits here, in order. Left to the device, a flood
// would sit in its buffer (KiBs in a UART driver or a pseudo-terminal),
// where the daemon can neither count it nor keep its own frames from
// waiting behind it. Loop thread only.
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

    // bytesPerSecond: what the line carries (19200 baud 8N1: 1920).
    PacedLine(muduo::net::EventLoop* loop, muduo::net::FileHandlerPtr device, int bytesPerSecond);
    ~PacedLine();

    // Queues one frame of 1 to kMaxFrame bytes; false (nothing queued) for
    // any other length. A tag of 0 or more is reported when the frame goes out.
    // replyLength: the bytes the far end answers with. The answer comes back
    // at the same pace, so the frame is charged the longer of the two: else
    // the answers fall behind on the way back while the frames keep pace.
    bool send(const unsigned char* frame, int length, int tag = -1, int replyLength = 0);
    // True while a tagged frame waits here whose tag agrees with tag in the bits of mask.
    bool holds(int tag, int mask) const;
    // Seconds until the line will have carried all it was given: what waits
    // here, what the device has not taken and what it holds.
    double behind() const;
    // The device took what it held back: the queue moves on.
    void deviceDrained() { pump(); }

    void setFrameOutCallback(FrameOutCallback cb) { frameOutCallback_ = std::move(cb); }

private:
    struct Frame
    {
        unsigned char bytes[kMaxFrame];
        uint8_t length;
        uint8_t charged;  // bytes of line time, the answer's included
        int tag;
    };

    void pump();
    // Seconds of line the device has been given and not yet sent, at now.
    double ahead(muduo::Timestamp now) const;

    muduo::net::FileHandlerPtr device_;
    const double bytesPerSecond_;
    std::deque<Frame> queue_;
    size_t queuedBytes_;  // charged
    muduo::Timestamp carriedAt_;  // monotonic
    std::shared_ptr<PduTimer> timer_;
    bool timerArmed_;
    bool pumping_;
    FrameOutCallback frameOutCallback_;
};
