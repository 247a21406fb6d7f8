#pragma once
#include <functional>
#include <list>
#include <memory>
#include <utility>

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
class Socket;
class UdpTranceiver;

typedef std::shared_ptr<UdpTranceiver> UdpTranceiverPtr;
typedef std::function<void(const UdpTranceiverPtr&, const InetAddress& sender, Buffer*, Timestamp)>
    UdpMessageCallback;
typedef std::function<void(const UdpTranceiverPtr&, const InetAddress& destination)> UdpWriteCompleteCallback;

// Discards everything readable.
void defaultUdpMessageCallback(const UdpTranceiverPtr&, const InetAddress&, Buffer* buffer, Timestamp);

// A UDP socket on the loop. The message callback sees each datagram with its
// sender; the send path never blocks: a datagram the socket refuses waits in
// a queue holding one entry per destination, and later bytes for a waiting
// destination join its entry (they leave in the same datagram).
class UdpTranceiver : noncopyable, public std::enable_shared_from_this<UdpTranceiver>
{
public:
    UdpTranceiver(EventLoop* loop, const InetAddress& listenAddr, bool reusePort);
    // Not bound: the system picks the local port at the first send.
    UdpTranceiver(EventLoop* loop, bool reusePort);
    ~UdpTranceiver();

    void setMessageCallback(UdpMessageCallback cb) { messageCallback_ = std::move(cb); }
    void setWriteCompleteCallback(UdpWriteCompleteCallback cb) { writeCompleteCallback_ = std::move(cb); }

    void startRead();
    void stopRead();

    // Any thread.
    void send(const InetAddress& destination, const void* data, int length);
    void send(const InetAddress& destination, StringPiece message);

    EventLoop* getLoop() const { return loop_; }
    int fd() const;

private:
    typedef std::pair<InetAddress, std::shared_ptr<Buffer>> Pending;

    void setUpChannel(bool reusePort);
    void handleRead(Timestamp receiveTime);
    void handleWrite();
    void handleError();
    void sendInLoop(const InetAddress& destination, const void* data, size_t length);
    void enqueue(const InetAddress& destination, const void* data, size_t length);
    void startReadInLoop();
    void stopReadInLoop();

    EventLoop* loop_;
    std::unique_ptr<Socket> socket_;
    std::unique_ptr<Channel> channel_;
    bool reading_;
    Buffer inputBuffer_;
    std::list<Pending> queue_;
    UdpMessageCallback messageCallback_;
    UdpWriteCompleteCallback writeCompleteCallback_;
};
}  // namespace net
}  // namespace muduo
