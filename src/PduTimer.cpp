#include "PduTimer.h"

#include "muduo/net/EventLoop.h"

namespace
{
// The loop's timer holds only a weak reference, so a timer left armed by
// mistake finds its PduTimer gone and does nothing.
template <typename Member>
muduo::net::TimerCallback bindWeak(const std::weak_ptr<PduTimer>& weak, Member member)
{
    return [weak, member] {
        if (std::shared_ptr<PduTimer> self = weak.lock())
            ((*self).*member)();
    };
}
}  // namespace

PduTimer::PduTimer(muduo::net::EventLoop* loop, int id) : loop_(loop), id_(id) {}

// Owners cancel before releasing; the loop may already be gone at process exit.
PduTimer::~PduTimer() = default;

void PduTimer::runAt(muduo::Timestamp time)
{
    expiration_ = time;
    timerId_ = loop_->runAt(time, bindWeak(weak_from_this(), &PduTimer::onOneShot));
}

void PduTimer::runAfter(double seconds)
{
    expiration_ = muduo::addTime(muduo::Timestamp::now(true), seconds > 0 ? seconds : 0);
    timerId_ = loop_->runAfter(seconds, bindWeak(weak_from_this(), &PduTimer::onOneShot));
}

void PduTimer::runEvery(double seconds)
{
    expiration_ = muduo::addTime(muduo::Timestamp::now(true), seconds > 0 ? seconds : 0);
    timerId_ = loop_->runEvery(seconds, bindWeak(weak_from_this(), &PduTimer::onPeriodic));
}

void PduTimer::cancel()
{
    expiration_ = muduo::Timestamp::invalid();
    loop_->cancel(timerId_);
}

void PduTimer::onOneShot()
{
    // Cancel first, so a callback that re-arms keeps its new timer.
    expiration_ = muduo::Timestamp::invalid();
    loop_->cancel(timerId_);
    if (callback_)
        callback_(shared_from_this());
}

void PduTimer::onPeriodic()
{
    if (callback_)
        callback_(shared_from_this());
}
