#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <set>
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
// that has been idle is closed, and a reserve of free descriptors that
// accepting never eats into. A connection beyond a bound is closed as soon
// as it is accepted, unless the server may close one idle long enough to
// make room for it; the lines about refused and idle connections are held
// to a peer's rate.
class TcpServer : noncopyable
{
public:
    enum Option
    {
        kNoReusePort,
        kReusePort,
    };
    // What ends a connection's idleness: any bytes it receives, or only
    // TcpConnection::markActive, which the user calls on a whole request (so
    // a byte now and then does not hold a connection).
    enum IdleClock
    {
        kIdleSinceInput,
        kIdleSinceMarked,
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
    // Closes a connection idle for this long (0: never). Set before start().
    void setIdleTimeout(double seconds) { idleSeconds_ = seconds; }
    void setIdleClock(IdleClock clock) { idleClock_ = clock; }
    // At the connection bound, when the address (IP) holding the most places
    // holds at least two more than the new connection's, the idlest of that
    // address's connections is closed at once for it, so no one address
    // keeps the others out. Otherwise the idlest of the new one's address and
    // of those holding more places is closed for it, if idle for more than
    // this many seconds (so the places never get less even); else the new
    // one is refused. With 0, the default, it is always refused.
    void setRoomAfterIdle(double seconds) { roomAfterIdle_ = seconds; }
    // Refuses a connection when fewer than count descriptors would remain
    // below the process's limit (read at each accept, so a limit lowered at
    // run time counts).
    void setDescriptorReserve(int count) { descriptorReserve_ = count; }

private:
    void newConnection(int sockfd, const InetAddress& peerAddr);
    void removeConnection(const TcpConnectionPtr& conn);
    void removeConnectionInLoop(const TcpConnectionPtr& conn);
    // Why a connection just accepted on sockfd is refused, or null (having
    // made room for it, if it had to).
    const char* refusal(int sockfd, const InetAddress& peerAddr);
    // Closes a connection for a newcomer from peerAddr, if one may go.
    bool makeRoom(const InetAddress& peerAddr);
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
    IdleClock idleClock_;
    double roomAfterIdle_;
    int descriptorReserve_;
    // Closed to make room, until removed: they no longer count.
    std::set<std::string> closingForRoom_;
    TimerId idleTimer_;
    LogLimiter log_;
};
}  // namespace net
}  // namespace muduo
