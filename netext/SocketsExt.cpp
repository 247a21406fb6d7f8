#include "netext/SocketsExt.h"

#include <arpa/inet.h>
#include <cstring>
#include <sys/socket.h>

#include "muduo/base/Logging.h"

namespace muduo
{
namespace net
{
namespace sockets
{
namespace
{
int createOrDie(sa_family_t family, int type, int protocol, const char* name)
{
    int fd = ::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    if (fd < 0)
        LOG_SYSFATAL << name;
    return fd;
}
}

int createNonblockingTcpOrDie(sa_family_t family)
{
    return createOrDie(family, SOCK_STREAM, IPPROTO_TCP, "sockets::createNonblockingTcpOrDie");
}

int createNonblockingUdpOrDie(sa_family_t family)
{
    return createOrDie(family, SOCK_DGRAM, IPPROTO_UDP, "sockets::createNonblockingUdpOrDie");
}

int createNonblockingRawOrDie(sa_family_t family)
{
    return createOrDie(family, SOCK_RAW, IPPROTO_ICMP, "sockets::createNonblockingRawOrDie");
}

ssize_t recvfrom(int sockfd, void* buf, size_t count, struct sockaddr_in6* from)
{
    socklen_t addrlen = static_cast<socklen_t>(sizeof(struct sockaddr_in6));
    return ::recvfrom(sockfd, buf, count, 0, reinterpret_cast<struct sockaddr*>(from), &addrlen);
}

ssize_t sendto(int sockfd, const void* buf, size_t count, const struct sockaddr* to)
{
    // The length follows the family: an IPv4 address is a 16-byte object and
    // a longer length would make the kernel read past it.
    socklen_t addrlen = static_cast<socklen_t>(to && to->sa_family == AF_INET6 ? sizeof(struct sockaddr_in6)
                                                                                 : sizeof(struct sockaddr_in));
    return ::sendto(sockfd, buf, count, 0, to, addrlen);
}

void fromIpPort(uint32_t ip, uint16_t port, struct sockaddr_in* addr)
{
    addr->sin_family = AF_INET;
    addr->sin_port = htons(port);
    addr->sin_addr.s_addr = htonl(ip);
}
}  // namespace sockets
}  // namespace net
}  // namespace muduo
