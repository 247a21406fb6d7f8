#include "muduo/net/TcpServer.h"

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Acceptor.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/SocketsOps.h"

namespace muduo
{
namespace net
{
TcpServer::TcpServer(EventLoop* loop, const InetAddress& listenAddr, const std::string& nameArg, Option option)
    : loop_(loop), name_(nameArg), acceptor_(new Acceptor(loop, listenAddr, option == kReusePort)),
      ipPort_(listenAddress().toIpPort()), connectionCallback_(defaultConnectionCallback),
      messageCallback_(defaultMessageCallback), started_(false), nextConnId_(1), maxConnections_(0),
      idleSeconds_(0), idleClock_(kIdleSinceInput), roomAfterIdle_(0), descriptorReserve_(0),
      log_(1.0, LogLimiter::kPeerLinesPerSecond)
{
    if (loop_ == nullptr)
        LOG_FATAL << "TcpServer: loop is null";
    acceptor_->setNewConnectionCallback(
        std::bind(&TcpServer::newConnection, this, std::placeholders::_1, std::placeholders::_2));
}

TcpServer::~TcpServer()
{
    loop_->assertInLoopThread();
    LOG_TRACE << "TcpServer::~TcpServer [" << name_ << "] destructing";
    if (idleTimer_.timer())
        loop_->cancel(idleTimer_);
    for (auto& item : connections_)
    {
        TcpConnectionPtr conn(item.second);
        item.second.reset();
        conn->getLoop()->runInLoop(std::bind(&TcpConnection::connectDestroyed, conn));
    }
}

InetAddress TcpServer::listenAddress() const { return InetAddress(sockets::getLocalAddr(acceptor_->fd())); }

void TcpServer::start()
{
    if (started_.exchange(true))
        return;
    loop_->runInLoop(std::bind(&Acceptor::listen, acceptor_.get()));
    // Checked four times per idle time: a connection goes within 1.25 of it.
    if (idleSeconds_ > 0)
        loop_->runInLoop(
            [this] { idleTimer_ = loop_->runEvery(idleSeconds_ / 4, [this] { closeIdleConnections(); }); });
}

const char* TcpServer::refusal(int sockfd, const InetAddress& peerAddr)
{
    // Descriptors are handed out lowest first: every number below sockfd is
    // in use, so within the reserve of the limit too few are left free.
    rlimit limit = {};
    if (descriptorReserve_ > 0 && ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(sockfd) + static_cast<rlim_t>(descriptorReserve_) >= limit.rlim_cur)
        return "descriptors kept in reserve";
    if (maxConnections_ > 0 && connections_.size() - closingForRoom_.size() >= maxConnections_ &&
        !makeRoom(peerAddr))
        return "at the connection bound";
    return nullptr;
}

bool TcpServer::makeRoom(const InetAddress& peerAddr)
{
    if (roomAfterIdle_ <= 0)
        return false;
    // Places held per address, counting only connections still holding one.
    std::map<uint32_t, size_t> held;
    size_t most = 0;
    for (const auto& item : connections_)
        if (item.second->connected())
            most = std::max(most, ++held[item.second->peerAddress().ipv4NetEndian()]);
    const uint32_t newcomer = peerAddr.ipv4NetEndian();
    const size_t own = held[newcomer];
    // An address holding two more than the newcomer's gives up its idlest at
    // once. Otherwise one idle long enough goes, but never so that places
    // get less even: one of the newcomer's own address or of one holding more.
    const bool evenOut = most >= own + 2;
    const TcpConnectionPtr* chosen = nullptr;
    for (const auto& item : connections_)
    {
        const TcpConnection& conn = *item.second;
        if (!conn.connected())
            continue;
        const uint32_t address = conn.peerAddress().ipv4NetEndian();
        const bool mayGo = evenOut ? held[address] == most : address == newcomer || held[address] > own;
        if (mayGo && (!chosen || conn.lastActive() < (*chosen)->lastActive()))
            chosen = &item.second;
    }
    if (!chosen || (!evenOut && timeDifference(Timestamp::now(true), (*chosen)->lastActive()) <= roomAfterIdle_))
        return false;
    LOG_INFO << "TcpServer [" << name_ << "] - connection " << (*chosen)->name()
             << (evenOut ? " of the address holding the most places" : " idle the longest") << ", closed for "
             << peerAddr.toIpPort();
    closingForRoom_.insert((*chosen)->name());
    (*chosen)->forceClose();
    return true;
}

void TcpServer::closeIdleConnections()
{
    LogLimiter::Scope logScope(log_);
    const Timestamp now = Timestamp::now(true);
    for (const auto& item : connections_)
    {
        const TcpConnectionPtr& conn = item.second;
        if (!conn->connected() || timeDifference(now, conn->lastActive()) < idleSeconds_)
            continue;
        LOG_INFO << "TcpServer [" << name_ << "] - connection " << item.first << " idle, closed";
        conn->forceClose();
    }
}

void TcpServer::newConnection(int sockfd, const InetAddress& peerAddr)
{
    loop_->assertInLoopThread();
    LogLimiter::Scope logScope(log_);
    if (const char* why = refusal(sockfd, peerAddr))
    {
        LOG_WARN << "TcpServer [" << name_ << "] - connection from " << peerAddr.toIpPort() << " refused with "
                 << connections_.size() << " open: " << why;
        sockets::close(sockfd);
        return;
    }
    char buf[64];
    ::snprintf(buf, sizeof buf, "-%s#%d", ipPort_.c_str(), nextConnId_);
    ++nextConnId_;
    std::string connName = name_ + buf;
    LOG_INFO << "TcpServer::newConnection [" << name_ << "] - new connection [" << connName << "] from "
             << peerAddr.toIpPort();
    InetAddress localAddr(sockets::getLocalAddr(sockfd));
    TcpConnectionPtr conn(new TcpConnection(loop_, connName, sockfd, localAddr, peerAddr));
    connections_[connName] = conn;
    conn->setConnectionCallback(connectionCallback_);
    // Only the idle bounds read when a connection was last in use.
    if (idleClock_ == kIdleSinceInput && (idleSeconds_ > 0 || roomAfterIdle_ > 0))
    {
        conn->setMessageCallback([this](const TcpConnectionPtr& c, Buffer* input, Timestamp time) {
            c->markActive();
            messageCallback_(c, input, time);
        });
    }
    else
    {
        conn->setMessageCallback(messageCallback_);
    }
    conn->setWriteCompleteCallback(writeCompleteCallback_);
    conn->setCloseCallback(std::bind(&TcpServer::removeConnection, this, std::placeholders::_1));
    conn->connectEstablished();
}

void TcpServer::removeConnection(const TcpConnectionPtr& conn)
{
    loop_->runInLoop(std::bind(&TcpServer::removeConnectionInLoop, this, conn));
}

void TcpServer::removeConnectionInLoop(const TcpConnectionPtr& conn)
{
    loop_->assertInLoopThread();
    LogLimiter::Scope logScope(log_);
    LOG_INFO << "TcpServer::removeConnectionInLoop [" << name_ << "] - connection " << conn->name();
    connections_.erase(conn->name());
    closingForRoom_.erase(conn->name());
    // The channel is still inside its handleEvent; destroy after the pass.
    loop_->queueInLoop(std::bind(&TcpConnection::connectDestroyed, conn));
}
}  // namespace net
}  // namespace muduo
