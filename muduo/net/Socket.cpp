#include "muduo/net/Socket.h"

#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "muduo/base/Logging.h"
#include "muduo/net/InetAddress.h"
#include "muduo/net/SocketsOps.h"

namespace muduo
{
namespace net
{
namespace
{
void setFlag(int fd, int level, int option, bool on, const char* what)
{
    int optval = on ? 1 : 0;
    if (::setsockopt(fd, level, option, &optval, static_cast<socklen_t>(sizeof optval)) < 0 && on)
        LOG_SYSERR << what << " failed.";
}
}  // namespace

Socket::~Socket() { sockets::close(sockfd_); }

void Socket::bindAddress(const InetAddress& addr) { sockets::bindOrDie(sockfd_, addr.getSockAddr()); }

void Socket::listen() { sockets::listenOrDie(sockfd_); }

int Socket::accept(InetAddress* peeraddr)
{
    struct sockaddr_in addr;
    ::memset(&addr, 0, sizeof addr);
    int connfd = sockets::accept(sockfd_, &addr);
    if (connfd >= 0)
        peeraddr->setSockAddr(addr);
    return connfd;
}

void Socket::shutdownWrite() { sockets::shutdownWrite(sockfd_); }

void Socket::setTcpNoDelay(bool on) { setFlag(sockfd_, IPPROTO_TCP, TCP_NODELAY, on, "TCP_NODELAY"); }

void Socket::setReuseAddr(bool on) { setFlag(sockfd_, SOL_SOCKET, SO_REUSEADDR, on, "SO_REUSEADDR"); }

void Socket::setReusePort(bool on) { setFlag(sockfd_, SOL_SOCKET, SO_REUSEPORT, on, "SO_REUSEPORT"); }

void Socket::setKeepAlive(bool on) { setFlag(sockfd_, SOL_SOCKET, SO_KEEPALIVE, on, "SO_KEEPALIVE"); }
namespace
{
void setIntOption(int fd, int option, int value)
{
    if (::setsockopt(fd, SOL_SOCKET, option, &value, static_cast<socklen_t>(sizeof value)) < 0)
        LOG_SYSERR << "setsockopt";
}

int getIntOption(int fd, int option)
{
    int value = 0;
    socklen_t len = static_cast<socklen_t>(sizeof value);
    return ::getsockopt(fd, SOL_SOCKET, option, &value, &len) < 0 ? -1 : value;
}
}  // namespace

void Socket::setReadBufSize(int size) { setIntOption(sockfd_, SO_RCVBUF, size); }
int Socket::getReadBufSize() const { return getIntOption(sockfd_, SO_RCVBUF); }
void Socket::setWriteBufSize(int size) { setIntOption(sockfd_, SO_SNDBUF, size); }
int Socket::getWriteBufSize() const { return getIntOption(sockfd_, SO_SNDBUF); }
}  // namespace net
}  // namespace muduo
