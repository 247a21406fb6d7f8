#include "netext/NonTcpConnection.h"

#include <cerrno>

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
EventLoop* checkNotNull(EventLoop* loop)
{
    if (loop == nullptr)
        LOG_FATAL << "'loop' Must be non NULL";
    return loop;
}
}

void defaultNonTcpConnectionMessageCallback(const NonTcpConnectionPtr&, Buffer* buffer, Timestamp)
{
    buffer->retrieveAll();
}

NonTcpConnection::NonTcpConnection(EventLoop* loop, const InetAddress& peer, bool udp)
    : loop_(checkNotNull(loop)), peer_(peer),
      socket_(new Socket(udp ? sockets::createNonblockingUdpOrDie(peer.family())
                             : sockets::createNonblockingRawOrDie(peer.family()))),
      channel_(new Channel(loop_, socket_->fd())), state_(kIdle), reading_(false),
      silenced_(false), messageCallback_(defaultNonTcpConnectionMessageCallback)
{
    channel_->setReadCallback([this](Timestamp t) { handleRead(t); });
    channel_->setWriteCallback([this] { handleWrite(); });
    channel_->setErrorCallback([this] { handleError(); });
}

NonTcpConnection::~NonTcpConnection()
{
    if (!channel_->isNoneEvent())
        channel_->disableAll();
    if (loop_->hasChannel(channel_.get()))
        channel_->remove();
}

int NonTcpConnection::fd() const { return socket_->fd(); }

void NonTcpConnection::connect()
{
    NonTcpConnectionPtr self(shared_from_this());
    loop_->runInLoop([self] { self->startConnectInLoop(); });
}

void NonTcpConnection::startConnectInLoop()
{
    loop_->assertInLoopThread();
    if (sockets::connect(socket_->fd(), peer_.getSockAddr()) < 0 && errno != EINPROGRESS)
    {
        LOG_SYSERR << "connect to " << peer_.toIpPort() << " failed";
        state_ = kFailed;
        return;
    }
    state_ = kConnected;
    startReadInLoop();
}

void NonTcpConnection::startRead()
{
    NonTcpConnectionPtr self(shared_from_this());
    loop_->runInLoop([self] { self->startReadInLoop(); });
}

void NonTcpConnection::stopRead()
{
    NonTcpConnectionPtr self(shared_from_this());
    loop_->runInLoop([self] { self->stopReadInLoop(); });
}

void NonTcpConnection::startReadInLoop()
{
    loop_->assertInLoopThread();
    if (!reading_ || !channel_->isReading())
        channel_->enableReading();
    reading_ = true;
}

void NonTcpConnection::stopReadInLoop()
{
    loop_->assertInLoopThread();
    if (reading_ || channel_->isReading())
        channel_->disableReading();
    reading_ = false;
}

void NonTcpConnection::send(const void* data, int length)
{
    if (length < 0 || (length > 0 && data == nullptr))
        return;
    if (loop_->isInLoopThread())
    {
        sendInLoop(data, static_cast<size_t>(length));
    }
    else
    {
        NonTcpConnectionPtr self(shared_from_this());
        std::string copy(static_cast<const char*>(data), static_cast<size_t>(length));
        loop_->runInLoop([self, copy] { self->sendInLoop(copy.data(), copy.size()); });
    }
}

void NonTcpConnection::send(const StringPiece& message) { send(message.data(), message.size()); }

void NonTcpConnection::sendInLoop(const void* data, size_t length)
{
    loop_->assertInLoopThread();
    // Nothing can go out of a socket that never connected or whose writing
    // failed; keeping what is sent would grow for as long as the owner sends
    // (a ping watchdog every interval, for months).
    if (state_ == kFailed || silenced_)
        return;
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    if (!channel_->isWriting() && outputBuffer_.readableBytes() == 0)
    {
        ssize_t n = sockets::write(socket_->fd(), bytes, length);
        if (n >= 0)
        {
            written = static_cast<size_t>(n);
            if (written == length)
            {
                queueWriteComplete();
                return;
            }
        }
        else if (errno != EWOULDBLOCK)
        {
            int err = errno;
            LOG_SYSERR << "NonTcpConnection::sendInLoop";
            if (err == EPIPE || err == ECONNRESET)
                return;
        }
    }
    if (length == written)
        return;
    outputBuffer_.append(bytes + written, length - written);
    if (!channel_->isWriting())
        channel_->enableWriting();
}

void NonTcpConnection::queueWriteComplete()
{
    if (writeCompleteCallback_)
    {
        NonTcpConnectionPtr self(shared_from_this());
        loop_->queueInLoop([self] {
            if (self->writeCompleteCallback_)
                self->writeCompleteCallback_(self);
        });
    }
}

void NonTcpConnection::handleRead(Timestamp receiveTime)
{
    loop_->assertInLoopThread();
    int savedErrno = 0;
    ssize_t n = inputBuffer_.readFd(socket_->fd(), &savedErrno);
    if (n > 0)
    {
        messageCallback_(shared_from_this(), &inputBuffer_, receiveTime);
    }
    else if (n < 0 && savedErrno != EAGAIN && savedErrno != EINTR)
    {
        errno = savedErrno;
        LOG_SYSERR << "NonTcpConnection::handleRead";
        handleError();
    }
}

void NonTcpConnection::handleWrite()
{
    loop_->assertInLoopThread();
    if (!channel_->isWriting())
    {
        LOG_TRACE << "Connection fd = " << socket_->fd() << " is down, no more writing";
        return;
    }
    ssize_t n = sockets::write(socket_->fd(), outputBuffer_.peek(), outputBuffer_.readableBytes());
    if (n <= 0)
    {
        LOG_SYSERR << "NonTcpConnection::handleWrite";
        socket_->shutdownWrite();
        channel_->disableAll();
        silenced_ = true;
        outputBuffer_.retrieveAll();
        return;
    }
    outputBuffer_.retrieve(static_cast<size_t>(n));
    if (outputBuffer_.readableBytes() == 0)
    {
        channel_->disableWriting();
        queueWriteComplete();
    }
}

void NonTcpConnection::handleError()
{
    int err = sockets::getSocketError(socket_->fd());
    LOG_ERROR << "NonTcpConnection::handleError  - SO_ERROR = " << err << " " << strerror_tl(err);
}
}  // namespace net
}  // namespace muduo
