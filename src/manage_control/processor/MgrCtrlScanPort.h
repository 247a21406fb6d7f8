#pragma once
#include <memory>

#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "muduo/base/noncopyable.h"

namespace MgrCtrl
{
class MgrCtrlProcessor;

// Discovery on the UDP scan port, shared by every sender on it. Each
// datagram stands alone: a sender's partial or garbage frame never swallows
// the next sender's discovery. Loop thread only.
class MgrCtrlScanPort : muduo::noncopyable
{
public:
    explicit MgrCtrlScanPort(muduo::net::EventLoop* loop) : parser_(loop) {}

    // One datagram: 0 with its frame's data in frame, 1 incomplete, 2 bad.
    int parseFrame(const char* data, int length, muduo::net::Buffer& frame);
    // 2 with the scan processor (whatever the code byte), its reply framed
    // like the datagram last taken.
    int parseDevice(muduo::net::Buffer& frame, std::shared_ptr<MgrCtrlProcessor>& processor);

private:
    MgrCtrlPacketParser parser_;
};
}
