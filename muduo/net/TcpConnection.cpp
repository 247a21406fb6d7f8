#include "muduo/net/TcpConnection.h"

#include <cerrno>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Channel.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/Socket.h"
#include "muduo/net/SocketsOps.h"

namespace muduo
{
namespace net
{
namespace
{
// A buffer emptied after a burst gives its memory back, so an idle
// connection costs little whatever its peer sent or left unread before.
void releaseIfEmpty(Buffer& buffer)
{
    if (buffer.readableBytes() == 0 && buffer.internalCapacity() > Buffer::kCheapPrepend + Buffer::kInitialSize)
        buffer.shrink(0);
}

// A peer can provoke these lines at will, one connection after another (a
// reset each, say), so all connections of a thread share one limiter.
thread_local LogLimiter t_errorLog;

// True when a connection error line may be written now; errno is kept.
bool errorLineAllowed(std::string* note)
{
    const int savedErrno = errno;
    int64_t suppressed = 0;
    const bool allowed = t_errorLog.allow(&suppressed);
    *note = LogLimiter::note(suppressed);
    errno = savedErrno;
    return allowed;
}
}  // namespace

void defaultConnectionCallback(const TcpConnectionPtr& conn)
{
    LOG_TRACE << conn->localAddress().toIpPort() << " -> " << conn->peerAddress().toIpPort() << " is "
              << (conn->connected() ? "UP" : "DOWN");
}

void defaultMessageCallback(const TcpConnectionPtr&, Buffer* buf, Timestamp) { buf->retrieveAll(); }

TcpConnection::TcpConnection(EventLoop* loop, const std::string& nameArg, int sockfd, const InetAddress& localAddr,
                             const InetAddress& peerAddr)
    : loop_(loop), name_(nameArg), state_(kConnecting), reading_(true), outputBlocked_(false),
      socket_(new Socket(sockfd)), channel_(new Channel(loop, sockfd)), localAddr_(localAddr), peerAddr_(peerAddr),
      highWaterMark_(64 * 1024 * 1024), lastActive_(Timestamp::now(true))
{
    channel_->setReadCallback(std::bind(&TcpConnection::handleRead, this, std::placeholders::_1));
    channel_->setWriteCallback(std::bind(&TcpConnection::handleWrite, this));
    channel_->setCloseCallback(std::bind(&TcpConnection::handleClose, this));
    channel_->setErrorCallback(std::bind(&TcpConnection::handleError, this));
    LOG_DEBUG << "TcpConnection::ctor[" << name_ << "] at " << this << " fd=" << sockfd;
    socket_->setKeepAlive(true);
}

TcpConnection::~TcpConnection()
{
    LOG_DEBUG << "TcpConnection::dtor[" << name_ << "] at " << this << " fd=" << channel_->fd()
              << " state=" << stateToString();
    assert(state_ == kDisconnected);
}

void TcpConnection::send(const void* data, int len)
{
    if (len < 0)
        return;
    send(StringPiece(static_cast<const char*>(data), len));
}

void TcpConnection::send(const StringPiece& message)
{
    if (state_ != kConnected)
        return;
    if (loop_->isInLoopThread())
        sendInLoop(message.data(), static_cast<size_t>(message.size()));
    else
        loop_->runInLoop(std::bind(&TcpConnection::sendStringInLoop, shared_from_this(), message.as_string()));
}

void TcpConnection::send(Buffer* buf)
{
    if (state_ != kConnected)
        return;
    if (loop_->isInLoopThread())
    {
        sendInLoop(buf->peek(), buf->readableBytes());
        buf->retrieveAll();
    }
    else
    {
        loop_->runInLoop(std::bind(&TcpConnection::sendStringInLoop, shared_from_this(), buf->retrieveAllAsString()));
    }
}

void TcpConnection::sendInLoop(const void* data, size_t len)
{
    loop_->assertInLoopThread();
    ssize_t nwrote = 0;
    size_t remaining = len;
    bool faultError = false;
    if (state_ == kDisconnected)
    {
        LOG_WARN << "disconnected, give up writing";
        return;
    }
    // Write at once only when nothing is queued, or the bytes would reorder.
    if (!channel_->isWriting() && outputBuffer_.readableBytes() == 0)
    {
        nwrote = sockets::write(channel_->fd(), data, len);
        if (nwrote >= 0)
        {
            remaining = len - static_cast<size_t>(nwrote);
            if (remaining == 0 && writeCompleteCallback_)
                loop_->queueInLoop(std::bind(writeCompleteCallback_, shared_from_this()));
        }
        else
        {
            nwrote = 0;
            std::string note;
            if (errno != EWOULDBLOCK)
            {
                if (errorLineAllowed(&note))
                    LOG_SYSERR << "TcpConnection::sendInLoop" << note;
                if (errno == EPIPE || errno == ECONNRESET)
                    faultError = true;
            }
        }
    }
    assert(remaining <= len);
    if (!faultError && remaining > 0)
    {
        size_t oldLen = outputBuffer_.readableBytes();
        if (oldLen + remaining >= highWaterMark_ && oldLen < highWaterMark_ && highWaterMarkCallback_)
            loop_->queueInLoop(std::bind(highWaterMarkCallback_, shared_from_this(), oldLen + remaining));
        outputBuffer_.append(static_cast<const char*>(data) + nwrote, remaining);
        if (!channel_->isWriting())
            channel_->enableWriting();
        if (outputBuffer_.readableBytes() >= highWaterMark_ && !outputBlocked_)
        {
            outputBlocked_ = true;
            updateReading();
        }
    }
}

void TcpConnection::shutdown()
{
    if (state_ == kConnected)
    {
        setState(kDisconnecting);
        loop_->runInLoop(std::bind(&TcpConnection::shutdownInLoop, shared_from_this()));
    }
}

void TcpConnection::shutdownInLoop()
{
    loop_->assertInLoopThread();
    if (!channel_->isWriting())
        socket_->shutdownWrite();
}

void TcpConnection::forceClose()
{
    if (state_ == kConnected || state_ == kDisconnecting)
    {
        setState(kDisconnecting);
        loop_->queueInLoop(std::bind(&TcpConnection::forceCloseInLoop, shared_from_this()));
    }
}

void TcpConnection::forceCloseInLoop()
{
    loop_->assertInLoopThread();
    if (state_ == kConnected || state_ == kDisconnecting)
        handleClose();
}

const char* TcpConnection::stateToString() const
{
    switch (state_)
    {
    case kDisconnected:
        return "kDisconnected";
    case kConnecting:
        return "kConnecting";
    case kConnected:
        return "kConnected";
    case kDisconnecting:
        return "kDisconnecting";
    }
    return "unknown state";
}

void TcpConnection::setTcpNoDelay(bool on) { socket_->setTcpNoDelay(on); }

void TcpConnection::startRead() { loop_->runInLoop(std::bind(&TcpConnection::startReadInLoop, shared_from_this())); }

void TcpConnection::startReadInLoop()
{
    loop_->assertInLoopThread();
    reading_ = true;
    updateReading();
}

void TcpConnection::stopRead() { loop_->runInLoop(std::bind(&TcpConnection::stopReadInLoop, shared_from_this())); }

void TcpConnection::stopReadInLoop()
{
    loop_->assertInLoopThread();
    reading_ = false;
    updateReading();
}

void TcpConnection::updateReading()
{
    if (state_ == kDisconnected)
        return;
    const bool wanted = reading_ && !outputBlocked_;
    if (wanted && !channel_->isReading())
        channel_->enableReading();
    else if (!wanted && channel_->isReading())
        channel_->disableReading();
}

void TcpConnection::connectEstablished()
{
    loop_->assertInLoopThread();
    assert(state_ == kConnecting);
    setState(kConnected);
    channel_->tie(shared_from_this());
    updateReading();
    connectionCallback_(shared_from_this());
}

void TcpConnection::connectDestroyed()
{
    loop_->assertInLoopThread();
    if (state_ == kConnected)
    {
        setState(kDisconnected);
        channel_->disableAll();
        connectionCallback_(shared_from_this());
    }
    channel_->remove();
}

void TcpConnection::handleRead(Timestamp receiveTime)
{
    loop_->assertInLoopThread();
    int savedErrno = 0;
    ssize_t n = inputBuffer_.readFd(channel_->fd(), &savedErrno);
    if (n > 0)
    {
        messageCallback_(shared_from_this(), &inputBuffer_, receiveTime);
        releaseIfEmpty(inputBuffer_);
    }
    else if (n == 0)
    {
        handleClose();
    }
    else
    {
        errno = savedErrno;
        std::string note;
        if (errorLineAllowed(&note))
            LOG_SYSERR << "TcpConnection::handleRead" << note;
        handleError();
    }
}

void TcpConnection::handleWrite()
{
    loop_->assertInLoopThread();
    if (!channel_->isWriting())
    {
        LOG_TRACE << "Connection fd = " << channel_->fd() << " is down, no more writing";
        return;
    }
    ssize_t n = sockets::write(channel_->fd(), outputBuffer_.peek(), outputBuffer_.readableBytes());
    if (n > 0)
    {
        outputBuffer_.retrieve(static_cast<size_t>(n));
        if (outputBlocked_ && outputBuffer_.readableBytes() < highWaterMark_)
        {
            outputBlocked_ = false;
            updateReading();
        }
        if (outputBuffer_.readableBytes() == 0)
        {
            releaseIfEmpty(outputBuffer_);
            channel_->disableWriting();
            if (writeCompleteCallback_)
                loop_->queueInLoop(std::bind(writeCompleteCallback_, shared_from_this()));
            if (state_ == kDisconnecting)
                shutdownInLoop();
        }
    }
    else
    {
        std::string note;
        if (errorLineAllowed(&note))
            LOG_SYSERR << "TcpConnection::handleWrite" << note;
    }
}

void TcpConnection::handleClose()
{
    loop_->assertInLoopThread();
    LOG_TRACE << "fd = " << channel_->fd() << " state = " << stateToString();
    assert(state_ == kConnected || state_ == kDisconnecting);
    setState(kDisconnected);
    channel_->disableAll();
    TcpConnectionPtr guardThis(shared_from_this());
    connectionCallback_(guardThis);
    // Last: the server drops its reference here.
    closeCallback_(guardThis);
}

void TcpConnection::handleError()
{
    int err = sockets::getSocketError(channel_->fd());
    std::string note;
    if (errorLineAllowed(&note))
        LOG_ERROR << "TcpConnection::handleError [" << name_ << "] - SO_ERROR = " << err << note;
}
}  // namespace net
}  // namespace muduo
