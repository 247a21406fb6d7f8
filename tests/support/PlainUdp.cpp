#include "support/PlainUdp.h"

#include <arpa/inet.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace test
{
PlainUdp::PlainUdp(const std::string& ip, uint16_t port)
    : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
{
    if (fd_ < 0)
        throw std::runtime_error("socket failed");
    int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    muduo::net::InetAddress local(ip, port);
    if (::bind(fd_, local.getSockAddr(), sizeof(struct sockaddr_in)) != 0)
    {
        ::close(fd_);
        throw std::runtime_error("bind failed for " + local.toIpPort());
    }
}

PlainUdp::~PlainUdp() { ::close(fd_); }

muduo::net::InetAddress PlainUdp::address() const
{
    struct sockaddr_in addr = {};
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<struct sockaddr*>(&addr), &len);
    return muduo::net::InetAddress(addr);
}

bool PlainUdp::sendTo(const muduo::net::InetAddress& to, const std::string& data)
{
    return ::sendto(fd_, data.data(), data.size(), 0, to.getSockAddr(), sizeof(struct sockaddr_in)) ==
           static_cast<ssize_t>(data.size());
}

bool PlainUdp::tryRecv(std::string& data, muduo::net::InetAddress* from)
{
    char buf[65536];
    struct sockaddr_in addr = {};
    socklen_t len = sizeof addr;
    ssize_t n = ::recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<struct sockaddr*>(&addr), &len);
    if (n < 0)
        return false;
    data.assign(buf, static_cast<size_t>(n));
    if (from)
        *from = muduo::net::InetAddress(addr);
    return true;
}
}
