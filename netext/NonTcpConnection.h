#pragma once
#include <functional>
#include <memory>

#include "muduo/base/StringPiece.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/InetAddress.h"

namespace muduo
{
namespace net
{
class Channel;
class EventLoop;
class NonTcpConnection;
class Socket;

typedef std::shared_ptr<NonTcpConnection> NonTcpConnectionPtr;
typedef std::function<void(const NonTcpConnectionPtr&, Buffer*, Timestamp)> NonTcpMessageCallback;
typedef std::function<void(const NonTcpConnectionPtr&)> NonTcpWriteCompleteCallback;

void defaultNonTcpConnectionMessageCallback(const NonTcpConnectionPtr& conn, Buffer* buffer, Timestamp receiveTime);

// A connected UDP or raw ICMP socket on the event loop, buffered like a
// TCP connection. Always held by a shared_ptr.
class NonTcpConnection : noncopyable, public std::enable_shared_from_this<NonTcpConnection>
{
public:
    enum StateE
    {
        kIdle = 0,
        kConnected = 1,
        kFailed = 2
    };

    NonTcpConnection(EventLoop* loop, const InetAddress& peer, bool udp);
    ~NonTcpConnection();

    void setMessageCallback(NonTcpMessageCallback cb) { messageCallback_ = std::move(cb); }
    void setWriteCompleteCallback(NonTcpWriteCompleteCallback cb) { writeCompleteCallback_ = std::move(cb); }

    void connect();
    void startRead();
    void stopRead();
    void send(const void* data, int length);
    void send(const StringPiece& message);

    int state() const { return state_; }
    // Bytes sent but not yet written to the socket.
    size_t queuedBytes() const { return outputBuffer_.readableBytes(); }
    int fd() const;
    const InetAddress& peerAddress() const { return peer_; }
    EventLoop* getLoop() const { return loop_; }

private:
    void startConnectInLoop();
    void startReadInLoop();
    void stopReadInLoop();
    void sendInLoop(const void* data, size_t length);
    void handleRead(Timestamp receiveTime);
    void handleWrite();
    void handleError();
    void queueWriteComplete();

    EventLoop* loop_;
    InetAddress peer_;
    std::unique_ptr<Socket> socket_;
    std::unique_ptr<Channel> channel_;
    int state_;
    bool reading_;
    bool silenced_;  // a write failed: nothing is written any more
    Buffer inputBuffer_;
    Buffer outputBuffer_;
    NonTcpMessageCallback messageCallback_;
    NonTcpWriteCompleteCallback writeCompleteCallback_;
};
}  // namespace net
}  // namespace muduo
