#pragma once
#include <functional>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Channel.h"
#include "muduo/net/Socket.h"

namespace muduo
{
namespace net
{
class EventLoop;
class InetAddress;

// Listening socket whose channel accepts new TCP connections.
class Acceptor : noncopyable
{
public:
    typedef std::function<void(int sockfd, const InetAddress&)> NewConnectionCallback;

    Acceptor(EventLoop* loop, const InetAddress& listenAddr, bool reuseport);
    ~Acceptor();

    // Without a callback, accepted sockets are closed at once.
    void setNewConnectionCallback(const NewConnectionCallback& cb) { newConnectionCallback_ = cb; }

    void listen();
    bool listening() const { return listening_; }
    int fd() const { return acceptSocket_.fd(); }

private:
    void handleRead();

    EventLoop* loop_;
    Socket acceptSocket_;
    Channel acceptChannel_;
    NewConnectionCallback newConnectionCallback_;
    bool listening_;
    // Held open so that, out of descriptors, a pending connection can still
    // be accepted and closed instead of waking the loop forever.
    int idleFd_;
    // Out of descriptors, every pending connection fails the same way.
    LogLimiter errorLog_;
};
}  // namespace net
}  // namespace muduo
