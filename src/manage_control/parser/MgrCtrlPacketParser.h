#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "muduo/base/noncopyable.h"
#include "muduo/net/Buffer.h"

class PduTimer;

namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace MgrCtrl
{
// Reassembles manage-control frames (0xA4, checksum flag, checksum, 32-bit
// data length, data) from the bytes of one peer, taking at most one frame
// per call. Bytes left over wait for the next call; 1 s after the last chunk
// they are dropped.
class MgrCtrlPacketParser : muduo::noncopyable
{
public:
    static constexpr uint8_t kHeader = 0xA4;
    static constexpr size_t kHeaderLength = 7;
    // The largest legal request: DeleteScheduledTask with 65535 task ids.
    static constexpr uint32_t kMaxDataLength = 262144;
    // A peer's waiting bytes beyond one largest frame are dropped, so one
    // client cannot make the unit buffer without bound.
    static constexpr size_t kMaxBuffered = kMaxDataLength + kHeaderLength;
    // Nor can many: beyond a small frame, the bytes of every peer together
    // stay within kMaxBufferedInAll (four largest frames at once).
    static constexpr size_t kSmallFrame = 4096;
    static constexpr size_t kMaxBufferedInAll = 4 * kMaxBuffered;
    static const double kResetSeconds;

    explicit MgrCtrlPacketParser(muduo::net::EventLoop* loop);
    ~MgrCtrlPacketParser();

    // 0 with one whole frame's data in frame, 1 when more bytes are needed,
    // 2 on a bad frame (frame is then left alone).
    int parse(const char* data, int length, muduo::net::Buffer& frame);
    // Header and, when the frame asks for one, checksum of the frame that
    // starts at data; a frame longer than length is refused.
    bool checkPacket(const char* data, int length);
    // Whether the frame accepted last carried a checksum; its answer mirrors it.
    bool getChecksumFlag() const { return checksumFlag_; }
    // Drops every buffered byte. The reset timer runs it; a datagram port
    // runs it before each datagram so that senders never mix.
    void reset();
    size_t buffered() const { return buffer_.readableBytes(); }
    // What every reassembler of the thread holds.
    static size_t bufferedInAll();

private:
    void armReset();
    // Brings the thread's total up to date with this buffer; an emptied
    // buffer gives its memory back.
    void account();

    muduo::net::Buffer buffer_;
    // Data length plus header of the frame at the front; 0 until read.
    int64_t expectedLength_;
    bool checksumFlag_;
    std::shared_ptr<PduTimer> resetTimer_;
    size_t counted_;  // of this buffer in the thread's total
};
}
