#include "netext/UdpTranceiver.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Channel.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/Socket.h"
#include "muduo/net/SocketsOps.h"
#include "netext/SocketsExt.h"

namespace muduo
{
namespace net
{
namespace
{
// Errors a peer can provoke (datagrams to a port that refuses them, say),
// for every socket of the thread; a handler's own scope nests inside.
thread_local LogLimiter t_errorLog(1.0, LogLimiter::kPeerLinesPerSecond);

EventLoop* checkLoop(EventLoop* loop)
{
    if (loop == nullptr)
        LOG_FATAL << "'loop' Must be non NULL";
    return loop;
}

bool sameDestination(const InetAddress& a, const InetAddress& b)
{
    return a.family() == b.family() && a.ipv4NetEndian() == b.ipv4NetEndian() &&
           a.portNetEndian() == b.portNetEndian();
}

// One datagram appended to the buffer, its sender stored.
ssize_t readDatagram(int fd, Buffer& buffer, InetAddress& sender, int* savedErrno)
{
    char extra[65536];
    struct sockaddr_in6 from = {};
    ssize_t n = sockets::recvfrom(fd, extra, sizeof extra, &from);
    if (n < 0)
    {
        *savedErrno = errno;
        return n;
    }
    if (from.sin6_family == AF_INET)
    {
        struct sockaddr_in in;
        ::memcpy(&in, &from, sizeof in);
        sender = InetAddress(in);
    }
    buffer.append(extra, static_cast<size_t>(n));
    return n;
}

// Errors after which the socket may take the datagram later.
bool transient(int err) { return err == EAGAIN || err == EWOULDBLOCK || err == ENOBUFS || err == EINTR; }
}

void defaultUdpMessageCallback(const UdpTranceiverPtr&, const InetAddress&, Buffer* buffer, Timestamp)
{
    buffer->retrieveAll();
}

UdpTranceiver::UdpTranceiver(EventLoop* loop, const InetAddress& listenAddr, bool reusePort)
    : loop_(checkLoop(loop)),
      socket_(new Socket(sockets::createNonblockingUdpOrDie(listenAddr.family()))),
      reading_(false),
      messageCallback_(defaultUdpMessageCallback)
{
    setUpChannel(reusePort);
    socket_->bindAddress(listenAddr);
}

UdpTranceiver::UdpTranceiver(EventLoop* loop, bool reusePort)
    : loop_(checkLoop(loop)),
      socket_(new Socket(sockets::createNonblockingUdpOrDie(AF_INET))),
      reading_(false),
      messageCallback_(defaultUdpMessageCallback)
{
    setUpChannel(reusePort);
}

void UdpTranceiver::setUpChannel(bool reusePort)
{
    socket_->setReuseAddr(true);
    if (reusePort)
        socket_->setReusePort(true);
    channel_.reset(new Channel(loop_, socket_->fd()));
    channel_->setReadCallback([this](Timestamp t) { handleRead(t); });
    channel_->setWriteCallback([this] { handleWrite(); });
    channel_->setErrorCallback([this] { handleError(); });
}

UdpTranceiver::~UdpTranceiver()
{
    channel_->disableAll();
    channel_->remove();
}

int UdpTranceiver::fd() const { return socket_->fd(); }

void UdpTranceiver::startRead()
{
    auto self = shared_from_this();
    loop_->runInLoop([self] { self->startReadInLoop(); });
}

void UdpTranceiver::stopRead()
{
    auto self = shared_from_this();
    loop_->runInLoop([self] { self->stopReadInLoop(); });
}

void UdpTranceiver::startReadInLoop()
{
    loop_->assertInLoopThread();
    if (!reading_ || !channel_->isReading())
    {
        channel_->enableReading();
        reading_ = true;
    }
}

void UdpTranceiver::stopReadInLoop()
{
    loop_->assertInLoopThread();
    if (reading_ || channel_->isReading())
    {
        channel_->disableReading();
        reading_ = false;
    }
}

void UdpTranceiver::send(const InetAddress& destination, StringPiece message)
{
    send(destination, message.data(), static_cast<int>(message.size()));
}

void UdpTranceiver::send(const InetAddress& destination, const void* data, int length)
{
    size_t len = length > 0 ? static_cast<size_t>(length) : 0;
    if (loop_->isInLoopThread())
    {
        sendInLoop(destination, data, len);
        return;
    }
    auto self = shared_from_this();
    std::string copy(static_cast<const char*>(data), len);
    loop_->runInLoop([self, destination, copy] { self->sendInLoop(destination, copy.data(), copy.size()); });
}

void UdpTranceiver::sendInLoop(const InetAddress& destination, const void* data, size_t length)
{
    LogLimiter::Scope logScope(t_errorLog);
    loop_->assertInLoopThread();
    if (channel_->isWriting())
    {
        enqueue(destination, data, length);
        return;
    }
    ssize_t n = sockets::sendto(socket_->fd(), data, length, destination.getSockAddr());
    if (n >= 0 && static_cast<size_t>(n) == length)
    {
        if (writeCompleteCallback_)
        {
            auto self = shared_from_this();
            auto cb = writeCompleteCallback_;
            loop_->queueInLoop([self, cb, destination] { cb(self, destination); });
        }
        return;
    }
    size_t sent = 0;
    if (n >= 0)
    {
        sent = static_cast<size_t>(n);
    }
    else if (errno != EWOULDBLOCK && errno != EAGAIN)
    {
        int err = errno;
        LOG_SYSERR << "UdpTranceiver::sendInLoop";
        if (err == EPIPE || err == ENETUNREACH)
            return;
    }
    enqueue(destination, static_cast<const char*>(data) + sent, length - sent);
}

void UdpTranceiver::enqueue(const InetAddress& destination, const void* data, size_t length)
{
    if (length == 0)
        return;
    auto it = queue_.begin();
    while (it != queue_.end() && !sameDestination(it->first, destination))
        ++it;
    if (it != queue_.end())
    {
        it->second->append(static_cast<const char*>(data), length);
    }
    else
    {
        auto buffer = std::make_shared<Buffer>();
        buffer->append(static_cast<const char*>(data), length);
        queue_.emplace_back(destination, buffer);
    }
    if (!channel_->isWriting())
    {
        channel_->enableWriting();
        LOG_INFO << "enable writing";
    }
}

void UdpTranceiver::handleWrite()
{
    LogLimiter::Scope logScope(t_errorLog);
    loop_->assertInLoopThread();
    if (!channel_->isWriting())
    {
        LOG_TRACE << "udp fd = " << channel_->fd() << " is down, no more writing";
        return;
    }
    if (queue_.empty())
        return;
    Pending& front = queue_.front();
    Buffer& buffer = *front.second;
    ssize_t n = sockets::sendto(socket_->fd(), buffer.peek(), buffer.readableBytes(), front.first.getSockAddr());
    if (n <= 0)
    {
        int err = errno;
        LOG_SYSERR << "UdpTranceiver::handleWrite";
        // A refusal that waiting cannot cure would be retried at every
        // writable event for ever.
        if (n == 0 || transient(err))
            return;
        LOG_ERROR << "datagram to " << front.first.toIpPort() << " dropped";
    }
    else if (static_cast<size_t>(n) < buffer.readableBytes())
    {
        buffer.retrieve(static_cast<size_t>(n));
        return;
    }
    InetAddress destination = front.first;
    queue_.pop_front();
    if (n > 0 && writeCompleteCallback_)
    {
        auto self = shared_from_this();
        auto cb = writeCompleteCallback_;
        loop_->queueInLoop([self, cb, destination] { cb(self, destination); });
    }
    if (queue_.empty())
        channel_->disableWriting();
}

void UdpTranceiver::handleRead(Timestamp receiveTime)
{
    LogLimiter::Scope logScope(t_errorLog);
    loop_->assertInLoopThread();
    InetAddress sender;
    int savedErrno = 0;
    ssize_t n = readDatagram(socket_->fd(), inputBuffer_, sender, &savedErrno);
    if (n > 0)
    {
        messageCallback_(shared_from_this(), sender, &inputBuffer_, receiveTime);
    }
    else if (n < 0)
    {
        errno = savedErrno;
        LOG_SYSERR << "UdpTranceiver::handleRead";
        handleError();
    }
}

void UdpTranceiver::handleError()
{
    LogLimiter::Scope logScope(t_errorLog);
    int err = sockets::getSocketError(socket_->fd());
    LOG_ERROR << "UdpTranceiver::handleError  - SO_ERROR = " << err << " " << strerror_tl(err);
}
}  // namespace net
}  // namespace muduo
