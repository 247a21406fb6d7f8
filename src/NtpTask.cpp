#include "NtpTask.h"

#include <cstdio>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "PduTimer.h"
#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

NtpTask::NtpTask(muduo::net::EventLoop* loop, int intervalHours)
    : loop_(loop),
      pool_("ThreadPool"),
      index_(0),
      intervalHours_(intervalHours),
      timer_(std::make_shared<PduTimer>(loop, 0)),
      client_(loop),
      phase_(kIdle)
{
    client_.setGotTimeCallback([this](long seconds) { onGotTime(seconds); });
    client_.setTimeoutCallback([this] {
        LOG_INFO << "ntp client timeout";
        onRequestFailed();
    });
    client_.setErrorCallback([this] {
        LOG_INFO << "ntp resp error";
        onRequestFailed();
    });
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>& timer) { onIntervalTimeout(timer); });
}

NtpTask::~NtpTask()
{
    timer_->cancel();
    pool_.stop();
}

void NtpTask::start()
{
    pool_.start(1);
    client_.startRead();
    beginCycle();
}

muduo::Timestamp NtpTask::nextCycle() const { return timer_->expiration(); }

void NtpTask::onIntervalTimeout(const std::shared_ptr<PduTimer>&) { beginCycle(); }

void NtpTask::beginCycle()
{
    index_ = 0;
    if (servers_.empty())
        waitInterval();
    else
        launchParseDomain();
}

void NtpTask::launchParseDomain()
{
    // The job gets its own copy of the name: the list may be replaced on the
    // loop thread while the resolver runs.
    std::string name = index_ < static_cast<int>(servers_.size()) ? servers_[index_] : std::string();
    int index = index_;
    std::weak_ptr<NtpTask> weak = weak_from_this();
    muduo::net::EventLoop* loop = loop_;
    phase_ = kResolving;
    pool_.run([weak, loop, name, index] {
        unsigned int address = translateDomainToIp(name);
        loop->runInLoop([weak, index, address] {
            if (auto self = weak.lock())
                self->onParseDomainRet(index, address);
        });
    });
}

unsigned int NtpTask::translateDomainToIp(const std::string& name)
{
    LOG_INFO << "ntp server ip:" << name;
    struct addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    hints.ai_flags = AI_ALL;
    struct addrinfo* result = nullptr;
    int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &result);
    if (rc != 0 || result == nullptr || result->ai_addr == nullptr || result->ai_family != AF_INET)
    {
        LOG_INFO << "get numeric ip failed";
        LOG_WARN << "getaddrinfo:" << (rc != 0 ? ::gai_strerror(rc) : "no IPv4 address");
        if (result)
            ::freeaddrinfo(result);
        return 0;
    }
    const struct sockaddr_in* in = reinterpret_cast<const struct sockaddr_in*>(result->ai_addr);
    unsigned int address = ntohl(in->sin_addr.s_addr);
    ::freeaddrinfo(result);
    LOG_INFO << "get numeric ip ok";
    return address;
}

void NtpTask::onParseDomainRet(int index, unsigned int address)
{
    char text[16];
    ::snprintf(text, sizeof text, "0x%08X", address);
    LOG_INFO << "index:" << index << ",ip:" << text;
    index_ = index;
    if (address == 0)
    {
        nextServer();
        return;
    }
    launchRequest(address);
    phase_ = kRequesting;
}

void NtpTask::launchRequest(unsigned int address)
{
    struct sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(NtpClient::kPort);
    addr.sin_addr.s_addr = htonl(address);
    client_.setServerIp(muduo::net::InetAddress(addr));
    client_.request();
}

void NtpTask::onRequestFailed()
{
    if (phase_ != kRequesting)
        return;
    LOG_INFO << "request timeout";
    nextServer();
}

void NtpTask::nextServer()
{
    ++index_;
    if (index_ < static_cast<int>(servers_.size()))
    {
        launchParseDomain();
        return;
    }
    index_ = 0;
    waitInterval();
}

void NtpTask::onGotTime(long seconds)
{
    if (board::setWallClock(static_cast<int64_t>(seconds) * 1000000))
    {
        board::runCommand("hwclock -w");
        if (timeAdjustedCallback_)
            timeAdjustedCallback_();
    }
    else
    {
        LOG_ERROR << "settimeofday failed";
    }
    waitInterval();
}

void NtpTask::waitInterval()
{
    phase_ = kIdle;
    timer_->cancel();
    timer_->runAfter(intervalHours_ * 3600.0);
}
