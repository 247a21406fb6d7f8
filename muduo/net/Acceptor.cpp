#include "muduo/net/Acceptor.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/InetAddress.h"
#include "muduo/net/SocketsOps.h"
#include "netext/SocketsExt.h"

namespace muduo
{
namespace net
{
Acceptor::Acceptor(EventLoop* loop, const InetAddress& listenAddr, bool reuseport)
    : loop_(loop), acceptSocket_(sockets::createNonblockingTcpOrDie(listenAddr.family())),
      acceptChannel_(loop, acceptSocket_.fd()), listening_(false), idleFd_(::open("/dev/null", O_RDONLY | O_CLOEXEC))
{
    if (idleFd_ < 0)
        LOG_SYSERR << "Acceptor: spare descriptor";
    acceptSocket_.setReuseAddr(true);
    acceptSocket_.setReusePort(reuseport);
    acceptSocket_.bindAddress(listenAddr);
    acceptChannel_.setReadCallback(std::bind(&Acceptor::handleRead, this));
}

Acceptor::~Acceptor()
{
    acceptChannel_.disableAll();
    acceptChannel_.remove();
    if (idleFd_ >= 0)
        ::close(idleFd_);
}

void Acceptor::listen()
{
    loop_->assertInLoopThread();
    listening_ = true;
    acceptSocket_.listen();
    acceptChannel_.enableReading();
}

void Acceptor::handleRead()
{
    loop_->assertInLoopThread();
    InetAddress peerAddr;
    int connfd = acceptSocket_.accept(&peerAddr);
    if (connfd >= 0)
    {
        if (newConnectionCallback_)
            newConnectionCallback_(connfd, peerAddr);
        else
            sockets::close(connfd);
        return;
    }
    const int savedErrno = errno;
    int64_t suppressed = 0;
    if (errorLog_.allow(&suppressed))
    {
        errno = savedErrno;
        LOG_SYSERR << "in Acceptor::handleRead" << LogLimiter::note(suppressed);
    }
    if (savedErrno == EMFILE && idleFd_ >= 0)
    {
        ::close(idleFd_);
        idleFd_ = ::accept(acceptSocket_.fd(), nullptr, nullptr);
        if (idleFd_ >= 0)
            ::close(idleFd_);
        idleFd_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
}
}  // namespace net
}  // namespace muduo
