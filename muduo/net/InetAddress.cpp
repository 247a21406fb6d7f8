#include "muduo/net/InetAddress.h"

#include <cstring>
#include <netdb.h>

#include "muduo/base/Logging.h"
#include "muduo/net/SocketsOps.h"
#include "netext/SocketsExt.h"

namespace muduo
{
namespace net
{
static_assert(sizeof(InetAddress) == sizeof(struct sockaddr_in), "InetAddress is a plain sockaddr_in");

InetAddress::InetAddress(uint32_t ip, uint16_t port)
{
    ::memset(&addr_, 0, sizeof addr_);
    sockets::fromIpPort(ip, port, &addr_);
}

InetAddress::InetAddress(uint16_t port, bool loopbackOnly)
{
    ::memset(&addr_, 0, sizeof addr_);
    addr_.sin_family = AF_INET;
    addr_.sin_addr.s_addr = sockets::hostToNetwork32(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    addr_.sin_port = sockets::hostToNetwork16(port);
}

InetAddress::InetAddress(StringArg ip, uint16_t port)
{
    ::memset(&addr_, 0, sizeof addr_);
    sockets::fromIpPort(ip.c_str(), port, &addr_);
}

std::string InetAddress::toIpPort() const
{
    char buf[64] = "";
    sockets::toIpPort(buf, sizeof buf, getSockAddr());
    return buf;
}

std::string InetAddress::toIp() const
{
    char buf[64] = "";
    sockets::toIp(buf, sizeof buf, getSockAddr());
    return buf;
}

uint16_t InetAddress::port() const { return sockets::networkToHost16(portNetEndian()); }

const struct sockaddr* InetAddress::getSockAddr() const { return sockets::sockaddr_cast(&addr_); }

bool InetAddress::resolve(StringArg hostname, InetAddress* out)
{
    struct addrinfo hints;
    ::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    struct addrinfo* res = nullptr;
    int ret = ::getaddrinfo(hostname.c_str(), nullptr, &hints, &res);
    if (ret != 0 || res == nullptr)
    {
        LOG_ERROR << "InetAddress::resolve " << hostname.c_str() << ": " << ::gai_strerror(ret);
        return false;
    }
    out->addr_.sin_family = AF_INET;
    out->addr_.sin_addr = reinterpret_cast<struct sockaddr_in*>(res->ai_addr)->sin_addr;
    ::freeaddrinfo(res);
    return true;
}
}  // namespace net
}  // namespace muduo
