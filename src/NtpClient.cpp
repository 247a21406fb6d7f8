#include "NtpClient.h"

#include "PduTimer.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

using muduo::net::Buffer;
using muduo::net::InetAddress;

namespace
{
const double kAnswerTimeout = 5.0;
const uint32_t kUnixEpochInNtp = 2208988800u;
const size_t kTransmitOffset = 40;
}

NtpClient::NtpClient(muduo::net::EventLoop* loop)
    : request_(),
      server_(),
      tranceiver_(std::make_shared<muduo::net::UdpTranceiver>(loop, true)),
      timer_(std::make_shared<PduTimer>(loop, 0)),
      status_(0)
{
    init();
}

NtpClient::~NtpClient() { timer_->cancel(); }

void NtpClient::init()
{
    Buffer packet;
    muduo::net::WireWriter w(packet);
    // leap indicator 3 (unsynchronised), version 3, mode 3 (client)
    w.u8(0xDB).u8(0).u8(6).u8(0).u8(0xEC).text(kPacketSize - 5, std::string());
    muduo::net::WireReader(packet).bytes(request_, kPacketSize);

    tranceiver_->setMessageCallback(
        [this](const muduo::net::UdpTranceiverPtr&, const InetAddress& sender, Buffer* buffer, muduo::Timestamp) {
            onNtpRespCallback(sender, buffer);
            buffer->retrieveAll();
        });
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>& timer) { onTimeout(timer); });
}

void NtpClient::startRead() { tranceiver_->startRead(); }

bool NtpClient::request()
{
    if (server_.ipv4NetEndian() == 0)
    {
        status_ = 0;
        return false;
    }
    timer_->cancel();
    LOG_INFO << "server ip:" << server_.toIpPort();
    tranceiver_->send(server_, request_, kPacketSize);
    timer_->runAfter(kAnswerTimeout);
    status_ = 1;
    LOG_INFO << "ntp status after request:" << status_;
    return true;
}

void NtpClient::onTimeout(const std::shared_ptr<PduTimer>&)
{
    status_ = 0;
    if (timeoutCallback_)
        timeoutCallback_();
}

long NtpClient::transmitSeconds(uint32_t ntpSeconds) { return static_cast<long>(ntpSeconds - kUnixEpochInNtp); }

bool NtpClient::answerTime(const InetAddress& server, const InetAddress& sender, const Buffer& answer, long& seconds)
{
    muduo::net::WireReader r(answer.peek(), answer.readableBytes());
    uint32_t ntpSeconds = 0;
    if (answer.readableBytes() < static_cast<size_t>(kPacketSize) || sender.toIpPort() != server.toIpPort() ||
        !r.skip(kTransmitOffset) || !r.be32(ntpSeconds))
        return false;
    seconds = transmitSeconds(ntpSeconds);
    return true;
}

void NtpClient::onNtpRespCallback(const InetAddress& sender, Buffer* buffer)
{
    timer_->cancel();
    LOG_INFO << "ntp server " << sender.toIpPort() << " resp:";
    long seconds = 0;
    bool good = status_ == 1 && answerTime(server_, sender, *buffer, seconds);
    status_ = 0;
    if (good)
    {
        if (gotTimeCallback_)
            gotTimeCallback_(seconds);
    }
    else if (errorCallback_)
    {
        errorCallback_();
    }
}
