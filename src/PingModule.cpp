#include "PingModule.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/NonTcpConnection.h"
#include "netext/WireReader.h"

namespace
{
const unsigned char kEchoRequest = 8;
const unsigned char kEchoReply = 0;
const size_t kMinIpHeader = 20;

// Checksum of 24 bytes that may sit at any alignment.
unsigned short checksumOf(const unsigned char* bytes)
{
    uint16_t words[PingModule::kPacketSize / 2];
    ::memcpy(words, bytes, sizeof words);
    return PingModule::calChkSum(words, PingModule::kPacketSize);
}
}  // namespace

PingModule::PingModule(muduo::net::EventLoop* loop, const muduo::net::InetAddress& peer)
    : peer_(peer), connection_(std::make_shared<muduo::net::NonTcpConnection>(loop, peer, false)),
      identifier_(static_cast<uint16_t>(::getpid() & 0xFFFF)), sequence_(0), request_()
{
}

PingModule::~PingModule() = default;

void PingModule::connect()
{
    std::weak_ptr<PingModule> weak(shared_from_this());
    connection_->setMessageCallback(
        [weak](const std::shared_ptr<muduo::net::NonTcpConnection>& conn, muduo::net::Buffer* buffer, muduo::Timestamp) {
            if (std::shared_ptr<PingModule> self = weak.lock())
                self->onEcho(conn, buffer);
            else
                buffer->retrieveAll();
        });
    connection_->connect();
}

void PingModule::ping()
{
    buildIcmpPacket(request_, identifier_, sequence_);
    ++sequence_;
    connection_->send(request_, kPacketSize);
}

void PingModule::onEcho(const std::shared_ptr<muduo::net::NonTcpConnection>&, muduo::net::Buffer* buffer)
{
    bool ok = isEchoReply(reinterpret_cast<const unsigned char*>(buffer->peek()), buffer->readableBytes(), identifier_);
    buffer->retrieveAll();
    if (echoCallback_)
        echoCallback_(shared_from_this(), ok);
}

unsigned short PingModule::calChkSum(const unsigned short* data, int length)
{
    uint32_t sum = 0;
    for (; length > 1; length -= 2)
        sum += *data++;
    if (length == 1)
        sum += *reinterpret_cast<const unsigned char*>(data);
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<unsigned short>(~sum & 0xFFFF);
}

void PingModule::buildIcmpPacket(unsigned char* out, uint16_t identifier, uint16_t sequence)
{
    ::memset(out, 0, kPacketSize);
    out[0] = kEchoRequest;
    ::memcpy(out + 4, &identifier, 2);
    ::memcpy(out + 6, &sequence, 2);
    for (int i = 0; i < 16; ++i)
        out[8 + i] = static_cast<unsigned char>(i);
    unsigned short sum = checksumOf(out);
    ::memcpy(out + 2, &sum, 2);
}

bool PingModule::isEchoReply(const unsigned char* data, size_t length, uint16_t identifier)
{
    muduo::net::WireReader in(data, length);
    uint8_t versionAndLength = 0;
    if (!in.u8(versionAndLength))
        return false;
    const size_t header = static_cast<size_t>(versionAndLength & 0x0F) * 4;
    unsigned char icmp[kPacketSize];
    if (header < kMinIpHeader || !in.skip(header - 1) || !in.bytes(icmp, sizeof icmp))
        return false;
    uint16_t id = 0;
    ::memcpy(&id, icmp + 4, 2);  // sent in memory order, compared so
    if (id != identifier || icmp[0] != kEchoReply)
        return false;
    unsigned short sum = checksumOf(icmp);
    if (sum != 0)
    {
        char text[16];
        ::snprintf(text, sizeof text, "0x%04X", sum);
        LOG_INFO << "calc cksum:" << text;
        return false;
    }
    return true;
}
