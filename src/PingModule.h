#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"
#include "muduo/net/InetAddress.h"

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
class NonTcpConnection;
}
}

// ICMP echo to one host over a raw socket: sends 24-byte echo requests and
// judges each received datagram (IP header first) as this module's reply or
// not. Always held by a shared_ptr.
class PingModule : muduo::noncopyable, public std::enable_shared_from_this<PingModule>
{
public:
    static const int kPacketSize = 24;
    typedef std::function<void(const std::shared_ptr<PingModule>&, bool ok)> EchoCallback;

    PingModule(muduo::net::EventLoop* loop, const muduo::net::InetAddress& peer);
    virtual ~PingModule();

    void setEchoCallback(EchoCallback cb) { echoCallback_ = std::move(cb); }
    void connect();
    void ping();
    void onEcho(const std::shared_ptr<muduo::net::NonTcpConnection>& conn, muduo::net::Buffer* buffer);

    // RFC 1071 Internet checksum over length bytes.
    static unsigned short calChkSum(const unsigned short* data, int length);
    // Echo request with this identifier and sequence number.
    static void buildIcmpPacket(unsigned char* out, uint16_t identifier, uint16_t sequence);
    // True when the datagram holds a whole IP header and a 24-byte echo
    // reply carrying the identifier with a sound checksum.
    static bool isEchoReply(const unsigned char* data, size_t length, uint16_t identifier);

    const muduo::net::InetAddress& peer() const { return peer_; }
    uint16_t identifier() const { return identifier_; }
    uint16_t sequence() const { return sequence_; }

private:
    muduo::net::InetAddress peer_;
    std::shared_ptr<muduo::net::NonTcpConnection> connection_;
    uint16_t identifier_;
    uint16_t sequence_;
    unsigned char request_[kPacketSize];
    EchoCallback echoCallback_;
};
