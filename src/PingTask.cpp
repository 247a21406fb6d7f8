#include "PingTask.h"

#include <arpa/inet.h>

#include "PduTimer.h"
#include "PingModule.h"
#include "muduo/base/Logging.h"
#include "muduo/net/InetAddress.h"

namespace
{
bool acceptedTiming(unsigned int interval, unsigned int timeout, bool periodic)
{
    return timeout != 0 && (periodic ? interval != 0 : interval == 0);
}
}  // namespace

PingTask::PingTask(muduo::net::EventLoop* loop, int port, const std::string& address, unsigned int interval,
                   unsigned int timeout, int action, bool periodic)
    : loop_(loop), valid_(false), periodic_(periodic), port_(port), address_(address), interval_(interval),
      timeout_(timeout), action_(action), state_(kIdle), timer_(std::make_shared<PduTimer>(loop, 0))
{
    if (!acceptedTiming(interval, timeout, periodic))
        return;
    in_addr parsed{};
    if (::inet_pton(AF_INET, address.c_str(), &parsed) != 1)
    {
        LOG_WARN << "ping task of port " << port << " refused, bad address:" << address;
        return;
    }
    LOG_INFO << "timeout:" << timeout << ",periodic:" << (periodic ? "1" : "0") << ",interval:" << interval;
    init();
    valid_ = true;
}

PingTask::~PingTask() { timer_->cancel(); }

void PingTask::init()
{
    module_ = std::make_shared<PingModule>(loop_, muduo::net::InetAddress(address_, 0));
    // The task owns the module and the timer, and cancels the timer as it goes.
    module_->setEchoCallback([this](const std::shared_ptr<PingModule>& m, bool ok) { onEcho(m, ok); });
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) { onTimeout(t); });
    module_->connect();
}

void PingTask::start()
{
    if (valid_ && state_ == kIdle)
        probe();
}

void PingTask::stop()
{
    if (!valid_ || state_ == kIdle)
        return;
    timer_->cancel();
    state_ = kIdle;
}

void PingTask::probe()
{
    module_->ping();
    timer_->runAfter(timeout_);
    state_ = kWaitEcho;
}

void PingTask::endProbe()
{
    if (periodic_)
    {
        timer_->runAfter(interval_);
        state_ = kInterval;
    }
    else
    {
        state_ = kIdle;
    }
}

// The next state is set before the callbacks run, so a callback that stops
// or replaces the task leaves nothing armed.
void PingTask::onTimeout(const std::shared_ptr<PduTimer>&)
{
    std::shared_ptr<PingTask> self(shared_from_this());
    if (state_ == kInterval)
    {
        probe();
    }
    else if (state_ == kWaitEcho)
    {
        endProbe();
        if (failCallback_)
            failCallback_(self);
    }
}

void PingTask::onEcho(const std::shared_ptr<PingModule>&, bool ok)
{
    if (!ok || state_ != kWaitEcho)
        return;
    std::shared_ptr<PingTask> self(shared_from_this());
    timer_->cancel();
    endProbe();
    if (successCallback_)
        successCallback_(self);
}
