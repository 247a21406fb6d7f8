#pragma once
#include <memory>

#include "muduo/base/noncopyable.h"
#include "muduo/net/Buffer.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class PduTimer;

namespace modbus
{
class ModbusController;
struct ReqInfo_;

// Reassembles the Modbus/TCP frames of one connection: every whole frame
// goes to the controller; a partial frame is dropped 1 s after its last byte.
class ModbusParser : muduo::noncopyable
{
public:
    static const double kResetSeconds;

    ModbusParser(muduo::net::EventLoop* loop, ModbusController* controller);
    ~ModbusParser();

    // The number of whole requests the bytes completed (each answered).
    int parse(const char* data, int length, muduo::net::Buffer& reply);

    size_t buffered() const { return buffer_.readableBytes(); }

private:
    // The header of the frame at the front of the buffer; false when the
    // frame is too short to hold the unit id and function code.
    bool prepareReqInfo(size_t frameLength, ReqInfo_& info) const;
    void onReset();
    // An empty buffer grown by a burst gives its memory back.
    void releaseMemory();

    ModbusController* controller_;
    muduo::net::Buffer buffer_;
    std::shared_ptr<PduTimer> resetTimer_;
};
}
