#include "muduo/net/SocketsOps.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include "muduo/base/Logging.h"

namespace muduo
{
namespace net
{
namespace sockets
{
const struct sockaddr* sockaddr_cast(const struct sockaddr_in* addr)
{
    return reinterpret_cast<const struct sockaddr*>(addr);
}

struct sockaddr* sockaddr_cast(struct sockaddr_in* addr) { return reinterpret_cast<struct sockaddr*>(addr); }

const struct sockaddr_in* sockaddr_in_cast(const struct sockaddr* addr)
{
    return reinterpret_cast<const struct sockaddr_in*>(addr);
}

int createNonblockingOrDie(sa_family_t family)
{
    int sockfd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (sockfd < 0)
        LOG_SYSFATAL << "sockets::createNonblockingOrDie";
    return sockfd;
}

void bindOrDie(int sockfd, const struct sockaddr* addr)
{
    if (::bind(sockfd, addr, static_cast<socklen_t>(sizeof(struct sockaddr_in))) < 0)
        LOG_SYSFATAL << "sockets::bindOrDie";
}

void listenOrDie(int sockfd)
{
    if (::listen(sockfd, SOMAXCONN) < 0)
        LOG_SYSFATAL << "sockets::listenOrDie";
}

int accept(int sockfd, struct sockaddr_in* addr)
{
    socklen_t addrlen = static_cast<socklen_t>(sizeof *addr);
    int connfd = ::accept4(sockfd, sockaddr_cast(addr), &addrlen, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connfd < 0)
    {
        int savedErrno = errno;
        switch (savedErrno)
        {
        case EAGAIN:
        case ECONNABORTED:
        case EINTR:
        case EPROTO:
        case EPERM:
        case EMFILE:
        case ENFILE:
        case ENOBUFS:
        case ENOMEM:
            // Expected under load; the caller decides.
            break;
        case EBADF:
        case EFAULT:
        case EINVAL:
        case ENOTSOCK:
        case EOPNOTSUPP:
            LOG_FATAL << "unexpected error of ::accept " << savedErrno;
            break;
        default:
            LOG_ERROR << "unknown error of ::accept " << savedErrno;
            break;
        }
        errno = savedErrno;
    }
    return connfd;
}

int connect(int sockfd, const struct sockaddr* addr)
{
    return ::connect(sockfd, addr, static_cast<socklen_t>(sizeof(struct sockaddr_in)));
}

ssize_t read(int sockfd, void* buf, size_t count) { return ::read(sockfd, buf, count); }

ssize_t readv(int sockfd, const struct iovec* iov, int iovcnt) { return ::readv(sockfd, iov, iovcnt); }

ssize_t write(int sockfd, const void* buf, size_t count) { return ::write(sockfd, buf, count); }

void close(int sockfd)
{
    if (::close(sockfd) < 0)
        LOG_SYSERR << "sockets::close";
}

void shutdownWrite(int sockfd)
{
    if (::shutdown(sockfd, SHUT_WR) < 0)
        LOG_SYSERR << "sockets::shutdownWrite";
}

void toIp(char* buf, size_t size, const struct sockaddr* addr)
{
    if (addr->sa_family == AF_INET && size >= INET_ADDRSTRLEN)
        ::inet_ntop(AF_INET, &sockaddr_in_cast(addr)->sin_addr, buf, static_cast<socklen_t>(size));
    else if (size > 0)
        buf[0] = '\0';
}

void toIpPort(char* buf, size_t size, const struct sockaddr* addr)
{
    toIp(buf, size, addr);
    size_t end = ::strlen(buf);
    uint16_t port = networkToHost16(sockaddr_in_cast(addr)->sin_port);
    if (end < size)
        ::snprintf(buf + end, size - end, ":%u", port);
}

void fromIpPort(const char* ip, uint16_t port, struct sockaddr_in* addr)
{
    addr->sin_family = AF_INET;
    addr->sin_port = hostToNetwork16(port);
    if (::inet_pton(AF_INET, ip, &addr->sin_addr) <= 0)
        LOG_SYSERR << "sockets::fromIpPort";
}

int getSocketError(int sockfd)
{
    int optval = 0;
    socklen_t optlen = static_cast<socklen_t>(sizeof optval);
    if (::getsockopt(sockfd, SOL_SOCKET, SO_ERROR, &optval, &optlen) < 0)
        return errno;
    return optval;
}

struct sockaddr_in getLocalAddr(int sockfd)
{
    struct sockaddr_in localaddr;
    ::memset(&localaddr, 0, sizeof localaddr);
    socklen_t addrlen = static_cast<socklen_t>(sizeof localaddr);
    if (::getsockname(sockfd, sockaddr_cast(&localaddr), &addrlen) < 0)
        LOG_SYSERR << "sockets::getLocalAddr";
    return localaddr;
}

struct sockaddr_in getPeerAddr(int sockfd)
{
    struct sockaddr_in peeraddr;
    ::memset(&peeraddr, 0, sizeof peeraddr);
    socklen_t addrlen = static_cast<socklen_t>(sizeof peeraddr);
    if (::getpeername(sockfd, sockaddr_cast(&peeraddr), &addrlen) < 0)
        LOG_SYSERR << "sockets::getPeerAddr";
    return peeraddr;
}

bool isSelfConnect(int sockfd)
{
    struct sockaddr_in localaddr = getLocalAddr(sockfd);
    struct sockaddr_in peeraddr = getPeerAddr(sockfd);
    return localaddr.sin_port == peeraddr.sin_port && localaddr.sin_addr.s_addr == peeraddr.sin_addr.s_addr;
}
}  // namespace sockets
}  // namespace net
}  // namespace muduo
