#include "netext/UdpServer.h"

namespace muduo
{
namespace net
{
UdpServer::UdpServer(EventLoop* loop, const InetAddress& listenAddr, bool reusePort)
    : tranceiver_(std::make_shared<UdpTranceiver>(loop, listenAddr, reusePort)),
      messageCallback_(defaultUdpMessageCallback)
{
}

void UdpServer::start()
{
    tranceiver_->setMessageCallback(messageCallback_);
    tranceiver_->setWriteCompleteCallback(writeCompleteCallback_);
    tranceiver_->startRead();
}

void UdpServer::send(const InetAddress& destination, const void* data, int length)
{
    tranceiver_->send(destination, data, length);
}
}  // namespace net
}  // namespace muduo
