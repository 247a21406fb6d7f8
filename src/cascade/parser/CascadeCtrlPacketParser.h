#pragma once
#include <cstdint>
#include <memory>

#include "cascade/parser/CRC_8.h"
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

namespace CascadeCtrl
{
// Reassembles cascade frames from the serial stream, one frame per call.
// A partial frame waits until 0.5 s pass without a new chunk. A bad frame
// (length and complement that disagree, a length beyond kMaxPayload, a wrong
// start byte or CRC) discards everything buffered: there is no search for
// the next start byte. The buffer never holds more than kMaxBuffered bytes.
// Loop thread only.
class CascadeCtrlPacketParser : muduo::noncopyable
{
public:
    // A frame this long takes 17 s at 38400 baud, far beyond any answer wait.
    static const uint32_t kMaxPayload = 65536;
    static const size_t kMaxBuffered = 2 * (kMaxPayload + 13);
    static const double kResetSeconds;

    explicit CascadeCtrlPacketParser(muduo::net::EventLoop* loop);
    ~CascadeCtrlPacketParser();

    // 0: one frame taken (address, sequence and exactly its payload set);
    // 1: more bytes needed; 2: the buffered bytes were rejected and dropped.
    int parse(const char* data, int length, int& address, int& sequence, muduo::net::Buffer& payload);
    // One whole frame: 0 valid (address and sequence set), 1 wrong start
    // byte, 2 wrong CRC.
    int checkPacket(const char* frame, int frameLength, int& address, int& sequence) const;
    // The address byte of a frame still being received, or -1 when fewer
    // than two bytes of one are buffered.
    int pendingAddress() const;

private:
    int reject(const char* why);
    void armReset();

    muduo::net::Buffer buffer_;
    std::shared_ptr<PduTimer> resetTimer_;
    CRC::CRC_8 crc_;
};
}
