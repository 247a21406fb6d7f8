#include "MailQueue.h"

#include <sys/wait.h>

#include <cerrno>
#include <csignal>

#include "PduTimer.h"
#include "muduo/base/Logging.h"

MailQueue::MailQueue(size_t alarmPlaces, size_t testPlaces, double timeLimitSeconds)
    : alarmPlaces_(alarmPlaces), testPlaces_(testPlaces), timeLimit_(timeLimitSeconds)
{
}

// The loop may be gone by now: the timer only holds a weak reference to it.
MailQueue::~MailQueue() = default;

MailQueue& MailQueue::instance()
{
    static MailQueue s_instance;
    return s_instance;
}

void MailQueue::attach(muduo::net::EventLoop* loop)
{
    detach();
    timer_ = std::make_shared<PduTimer>(loop, 0);
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) {
        watching_ = false;
        poll();
    });
    poll();
}

void MailQueue::detach()
{
    if (timer_ && watching_)
        timer_->cancel();
    timer_.reset();
    watching_ = false;
}

bool MailQueue::submit(Kind kind, Starter start)
{
    poll();
    std::deque<Starter>& queue = kind == kAlarm ? alarms_ : tests_;
    if (queue.size() >= (kind == kAlarm ? alarmPlaces_ : testPlaces_))
    {
        int64_t held = 0;
        if (refusals_.allow(&held))
            LOG_WARN << (kind == kAlarm ? "alarm" : "test") << " mail refused: " << queue.size()
                     << " wait for the mail program already" << muduo::LogLimiter::note(held);
        return false;
    }
    queue.push_back(std::move(start));
    startWaiting();
    return true;
}

void MailQueue::poll()
{
    if (child_ > 0 && !reaped())
    {
        if (!killed_ && timeDifference(muduo::Timestamp::now(true), startedAt_) > timeLimit_)
        {
            LOG_WARN << "mail program " << child_ << " still runs after " << timeLimit_ << " s: killed";
            ::kill(child_, SIGKILL);
            killed_ = true;
        }
        watch();
        return;
    }
    startWaiting();
}

bool MailQueue::reaped()
{
    const pid_t done = ::waitpid(child_, nullptr, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR))
        return false;
    // Reaped here, or (ECHILD) already by the kernel.
    child_ = -1;
    killed_ = false;
    return true;
}

void MailQueue::startWaiting()
{
    while (child_ <= 0 && (!alarms_.empty() || !tests_.empty()))
    {
        std::deque<Starter>& queue = alarms_.empty() ? tests_ : alarms_;
        const Starter start = std::move(queue.front());
        queue.pop_front();
        child_ = start();
        startedAt_ = muduo::Timestamp::now(true);
    }
    if (child_ > 0)
        watch();
}

void MailQueue::watch()
{
    if (!timer_ || watching_)
        return;
    watching_ = true;
    timer_->runAfter(kPollSeconds);
}
