#pragma once

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
}
}

namespace MgrCtrl
{
// Reassembles manage-control frames from the bytes of one peer.
class MgrCtrlPacketParser
{
public:
    explicit MgrCtrlPacketParser(muduo::net::EventLoop* loop);

    // 0 with one whole frame's data in frame, 1 when more bytes are needed,
    // 2 on a bad frame.
    int parse(const char* data, int length, muduo::net::Buffer& frame);
};
}
