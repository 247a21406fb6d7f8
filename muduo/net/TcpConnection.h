#pragma once
#include <any>
#include <memory>
#include <string>

#include "muduo/base/StringPiece.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/Callbacks.h"
#include "muduo/net/InetAddress.h"

struct tcp_info;

namespace muduo
{
namespace net
{
class Channel;
class EventLoop;
class Socket;

// One accepted TCP connection, shared between its server and the user.
// Output that cannot be written at once is queued until the socket is writable.
// While the queued output is at or above the high-water mark the connection
// reads nothing more, so a peer that never reads its answers costs bounded
// memory; reading resumes once the output has drained below the mark.
class TcpConnection : noncopyable, public std::enable_shared_from_this<TcpConnection>
{
public:
    TcpConnection(EventLoop* loop, const std::string& name, int sockfd, const InetAddress& localAddr,
                  const InetAddress& peerAddr);
    ~TcpConnection();

    EventLoop* getLoop() const { return loop_; }
    const std::string& name() const { return name_; }
    const InetAddress& localAddress() const { return localAddr_; }
    const InetAddress& peerAddress() const { return peerAddr_; }
    bool connected() const { return state_ == kConnected; }
    bool disconnected() const { return state_ == kDisconnected; }

    // Any thread.
    void send(const void* message, int len);
    void send(const StringPiece& message);
    void send(Buffer* message);  // copies and empties it
    // Half-closes once the pending output is written.
    void shutdown();
    void forceClose();
    void setTcpNoDelay(bool on);
    void startRead();
    void stopRead();
    bool isReading() const { return reading_; }
    // When the connection was last in use (monotonic clock): its accept, or
    // the last markActive(). Its server's idle bounds count from here.
    void markActive() { lastActive_ = Timestamp::now(true); }
    Timestamp lastActive() const { return lastActive_; }

    void setContext(const std::any& context) { context_ = context; }
    const std::any& getContext() const { return context_; }
    std::any* getMutableContext() { return &context_; }

    void setConnectionCallback(const ConnectionCallback& cb) { connectionCallback_ = cb; }
    void setMessageCallback(const MessageCallback& cb) { messageCallback_ = cb; }
    void setWriteCompleteCallback(const WriteCompleteCallback& cb) { writeCompleteCallback_ = cb; }
    void setHighWaterMarkCallback(const HighWaterMarkCallback& cb, size_t highWaterMark)
    {
        highWaterMarkCallback_ = cb;
        highWaterMark_ = highWaterMark;
    }
    // Internal: set by TcpServer.
    void setCloseCallback(const CloseCallback& cb) { closeCallback_ = cb; }

    Buffer* inputBuffer() { return &inputBuffer_; }
    Buffer* outputBuffer() { return &outputBuffer_; }

    // Called by TcpServer once when accepted and once when removed.
    void connectEstablished();
    void connectDestroyed();

private:
    enum StateE { kDisconnected, kConnecting, kConnected, kDisconnecting };
    void handleRead(Timestamp receiveTime);
    void handleWrite();
    void handleClose();
    void handleError();
    void sendInLoop(const void* message, size_t len);
    void sendStringInLoop(const std::string& message) { sendInLoop(message.data(), message.size()); }
    void shutdownInLoop();
    void forceCloseInLoop();
    void startReadInLoop();
    void stopReadInLoop();
    // Reads exactly when the user wants to and the output is below the mark.
    void updateReading();
    void setState(StateE s) { state_ = s; }
    const char* stateToString() const;

    EventLoop* loop_;
    const std::string name_;
    StateE state_;
    bool reading_;  // the user's choice (startRead / stopRead)
    bool outputBlocked_;  // output at the high-water mark: reading held back
    std::unique_ptr<Socket> socket_;
    std::unique_ptr<Channel> channel_;
    const InetAddress localAddr_;
    const InetAddress peerAddr_;
    ConnectionCallback connectionCallback_;
    MessageCallback messageCallback_;
    WriteCompleteCallback writeCompleteCallback_;
    HighWaterMarkCallback highWaterMarkCallback_;
    CloseCallback closeCallback_;
    size_t highWaterMark_;
    Timestamp lastActive_;
    Buffer inputBuffer_;
    Buffer outputBuffer_;
    std::any context_;
};
}  // namespace net
}  // namespace muduo
