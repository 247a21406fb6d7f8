#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/Callbacks.h"
#include "muduo/net/TcpConnection.h"
#include "muduo/net/TimerId.h"

namespace muduo
{
namespace net
{
class Acceptor;
class EventLoop;

// A TCP server whose connections all run on the one loop it is given.
// Optional bounds, so that peers cost a bounded share of the descriptors and
// memory: a number of connections, an idle time after which a connection
// that has sent nothing is closed, and a reserve of free descriptors that
// accepting never eats into. A connection beyond a bound is closed as soon
// as it is accepted; the lines about refused and idle connections are held
// to a peer's rate.
class TcpServer : noncopyable
{
public:
    enum Option
    {
        kNoReusePort,
        kReusePort,
    };

    TcpServer(EventLoop* loop, const InetAddress& listenAddr, const std::string& nameArg,
              Option option = kNoReusePort);
    ~TcpServer();

    const std::string& ipPort() const { return ipPort_; }
    const std::string& name() const { return name_; }
    EventLoop* getLoop() const { return loop_; }
    // The bound address (the real port when constructed with port 0).
    InetAddress listenAddress() const;

    // Starts listening; calling it again does nothing. Any thread.
    void start();

    void setConnectionCallback(const ConnectionCallback& cb) { connectionCallback_ = cb; }
    void setMessageCallback(const MessageCallback& cb) { messageCallback_ = cb; }
    void setWriteCompleteCallback(const WriteCompleteCallback& cb) { writeCompleteCallback_ = cb; }

    // At most this many connections at once (0: no bound).
    void setMaxConnections(size_t count) { maxConnections_ = count; }
    // Closes a connection that has received nothing for this long (0:
    // never). Set before start().
    void setIdleTimeout(double seconds) { idleSeconds_ = seconds; }
    // Refuses a connection when fewer than count descriptors would remain
    // below the process's limit (read at each accept, so a limit lowered at
    // run time counts).
    void setDescriptorReserve(int count) { descriptorReserve_ = count; }

private:
    void newConnection(int sockfd, const InetAddress& peerAddr);
    void removeConnection(const TcpConnectionPtr& conn);
    void removeConnectionInLoop(const TcpConnectionPtr& conn);
    // Why a connection just accepted on sockfd is refused, or null.
    const char* refusal(int sockfd) const;
    void closeIdleConnections();

    typedef std::map<std::string, TcpConnectionPtr> ConnectionMap;

    EventLoop* loop_;
    const std::string name_;
    std::unique_ptr<Acceptor> acceptor_;
    const std::string ipPort_;  // as bound, so port 0 shows the real port
    ConnectionCallback connectionCallback_;
    MessageCallback messageCallback_;
    WriteCompleteCallback writeCompleteCallback_;
    std::atomic<bool> started_;
    int nextConnId_;
    ConnectionMap connections_;
    size_t maxConnections_;
    double idleSeconds_;
    int descriptorReserve_;
    // When each connection last received bytes (monotonic clock).
    std::map<std::string, Timestamp> lastInput_;
    TimerId idleTimer_;
    LogLimiter log_;
};
}  // namespace net
}  // namespace muduo
