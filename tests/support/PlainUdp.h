#pragma once
#include <cstdint>
#include <string>

#include "muduo/net/InetAddress.h"

namespace test
{
// A plain non-blocking UDP socket for the far side of a test.
class PlainUdp
{
public:
    explicit PlainUdp(const std::string& ip = "127.0.0.1", uint16_t port = 0);
    ~PlainUdp();
    PlainUdp(const PlainUdp&) = delete;
    PlainUdp& operator=(const PlainUdp&) = delete;

    muduo::net::InetAddress address() const;
    bool sendTo(const muduo::net::InetAddress& to, const std::string& data);
    // One datagram if one waits.
    bool tryRecv(std::string& data, muduo::net::InetAddress* from = nullptr);
    int fd() const { return fd_; }

private:
    int fd_;
};
}
