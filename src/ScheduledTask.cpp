#include "ScheduledTask.h"

#include <cstdio>
#include <ctime>

#include "PduTimer.h"
#include "muduo/base/Logging.h"

namespace
{
const int64_t kMicrosPerSecond = 1000000;
const int64_t kMicrosPerDay = 86400LL * kMicrosPerSecond;

std::string two(int v)
{
    char buf[16];
    ::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string hex(unsigned v, int digits)
{
    char buf[16];
    ::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
    return buf;
}

// Today's local date at the given time of day, and today's weekday.
int64_t todayAt(int64_t nowMicros, const _DeviceDateTime& when, int& weekday)
{
    time_t now = static_cast<time_t>(nowMicros / kMicrosPerSecond);
    struct tm tm;
    ::localtime_r(&now, &tm);
    weekday = tm.tm_wday;
    tm.tm_hour = when.hour;
    tm.tm_min = when.minute;
    tm.tm_sec = when.second;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(::mktime(&tm)) * kMicrosPerSecond;
}
}  // namespace

ScheduledTask::ScheduledTask(muduo::net::EventLoop* loop, int id, unsigned int ports, unsigned char repeat, int action,
                             const _DeviceDateTime& when)
    : id_(id), armed_(false), timer_(std::make_shared<PduTimer>(loop, id)), ports_(ports),
      repeat_(repeat), action_(action), when_(when)
{
    // The task owns the timer and cancels it before it goes.
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onTimeout(); });
    LOG_INFO << "id:" << id_ << ",ports:" << hex(ports_, 8) << ",action:" << action_ << ",repeat:" << hex(repeat_, 2);
    LOG_INFO << "time:" << two(when.year) << "-" << two(when.month) << "-" << two(when.day) << " " << two(when.hour)
             << ":" << two(when.minute) << ":" << two(when.second);
}

ScheduledTask::~ScheduledTask() { stop(); }

void ScheduledTask::modify(unsigned int ports, unsigned char repeat, int action, const _DeviceDateTime& when)
{
    ports_ = ports;
    repeat_ = repeat;
    action_ = action;
    when_ = when;
}

void ScheduledTask::arm(int64_t micros)
{
    armedAt_ = muduo::Timestamp(micros);
    timer_->runAt(armedAt_);
    armed_ = true;
}

void ScheduledTask::start()
{
    if (armed_)
        return;
    int64_t now = muduo::Timestamp::now(false).microSecondsSinceEpoch();
    struct tm tm = {};
    tm.tm_year = when_.year - 1900;
    tm.tm_mon = when_.month - 1;
    tm.tm_mday = when_.day;
    tm.tm_hour = when_.hour;
    tm.tm_min = when_.minute;
    tm.tm_sec = when_.second;
    tm.tm_isdst = -1;
    int64_t work = static_cast<int64_t>(::mktime(&tm)) * kMicrosPerSecond;
    if (now < work)
    {
        LOG_INFO << "now < workTimestamp";
        arm(work);
        return;
    }
    if (weekdays() == 0)
    {
        LOG_INFO << "no repeat";
        return;
    }
    int w = 0;
    int64_t at = todayAt(now, when_, w);
    if (at < now)
    {
        LOG_INFO << "workTimestamp < now";
        at += kMicrosPerDay;
        w = (w + 1) % 7;
    }
    while ((weekdays() & (1u << w)) == 0)
    {
        at += kMicrosPerDay;
        w = (w + 1) % 7;
    }
    LOG_INFO << "run at weekday:" << hex(static_cast<unsigned>(w), 2);
    arm(at);
}

void ScheduledTask::next()
{
    if (armed_)
        return;
    if (weekdays() == 0)
    {
        LOG_INFO << "no repeat";
        return;
    }
    int w = 0;
    int64_t at = todayAt(muduo::Timestamp::now(false).microSecondsSinceEpoch(), when_, w);
    do
    {
        w = (w + 1) % 7;
        at += kMicrosPerDay;
    } while ((weekdays() & (1u << w)) == 0);
    LOG_INFO << "next will run at weekday:" << w;
    arm(at);
}

void ScheduledTask::stop()
{
    if (!armed_)
        return;
    timer_->cancel();
    armed_ = false;
    LOG_INFO << "task stop:" << id_;
}

void ScheduledTask::onTimeout()
{
    armed_ = false;
    if (runCallback_)
        runCallback_(shared_from_this());
}
