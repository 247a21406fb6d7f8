#include "HourlyEvent.h"

#include <ctime>

#include "PduTimer.h"
#include "platform/core/BoardClock.h"

HourlyEvent::HourlyEvent(muduo::net::EventLoop* loop) : timer_(std::make_shared<PduTimer>(loop, 0))
{
    // The timer never outlives this object: the destructor cancels it.
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onTimer(); });
}

HourlyEvent::~HourlyEvent() { cancel(); }

void HourlyEvent::start()
{
    cancel();
    time_t now = board::wallClockSeconds();
    struct tm t = {};
    ::localtime_r(&now, &t);
    t.tm_min = 0;
    t.tm_sec = 0;
    const time_t next = ::mktime(&t) + 3600;
    timer_->runAt(muduo::Timestamp(static_cast<int64_t>(next) * muduo::Timestamp::kMicroSecondsPerSecond));
}

void HourlyEvent::cancel() { timer_->cancel(); }

void HourlyEvent::onTimer()
{
    if (callback_)
        callback_();
    start();
}
