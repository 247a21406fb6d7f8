#pragma once
#include "muduo/base/noncopyable.h"
#include "netext/UdpTranceiver.h"

namespace muduo
{
namespace net
{
// A bound UDP endpoint: owns one transceiver and starts it reading. The
// callbacks reach the transceiver at start(); later changes do not.
class UdpServer : noncopyable
{
public:
    UdpServer(EventLoop* loop, const InetAddress& listenAddr, bool reusePort);

    void setMessageCallback(UdpMessageCallback cb) { messageCallback_ = std::move(cb); }
    void setWriteCompleteCallback(UdpWriteCompleteCallback cb) { writeCompleteCallback_ = std::move(cb); }

    void start();
    void send(const InetAddress& destination, const void* data, int length);

    const UdpTranceiverPtr& tranceiver() const { return tranceiver_; }

private:
    UdpTranceiverPtr tranceiver_;
    UdpMessageCallback messageCallback_;
    UdpWriteCompleteCallback writeCompleteCallback_;
};
}  // namespace net
}  // namespace muduo
