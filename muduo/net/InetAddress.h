#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <string>

#include "muduo/base/StringPiece.h"
#include "muduo/base/copyable.h"

namespace muduo
{
namespace net
{
// An IPv4 socket address.
class InetAddress : public muduo::copyable
{
public:
    // Any address (or loopback) and a port, for listening.
    explicit InetAddress(uint16_t port = 0, bool loopbackOnly = false);
    // ip is dotted decimal, e.g. "10.0.0.2".
    InetAddress(StringArg ip, uint16_t port);
    explicit InetAddress(const struct sockaddr_in& addr) : addr_(addr) {}
    // Both in host byte order.
    InetAddress(uint32_t ip, uint16_t port);

    sa_family_t family() const { return addr_.sin_family; }
    std::string toIp() const;
    std::string toIpPort() const;
    uint16_t port() const;

    const struct sockaddr* getSockAddr() const;
    void setSockAddr(const struct sockaddr_in& addr) { addr_ = addr; }

    uint32_t ipv4NetEndian() const { return addr_.sin_addr.s_addr; }
    uint16_t portNetEndian() const { return addr_.sin_port; }
    uint32_t ipHostEndian() const { return ntohl(addr_.sin_addr.s_addr); }
    uint16_t portHostEndian() const { return ntohs(addr_.sin_port); }

    // Host name to address, port kept; false when the name does not resolve.
    static bool resolve(StringArg hostname, InetAddress* result);

private:
    struct sockaddr_in addr_;
};
}  // namespace net
}  // namespace muduo
