#pragma once
#include <sys/types.h>

#include <deque>
#include <functional>
#include <memory>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class PduTimer;

// Paces the mail program: one child at a time, the mails after it waiting
// in a bounded queue. Alarm mails and test mails wait apart, so a flood of
// test mails (a web request each) never costs an alarm its place; alarms
// start first. A mail that finds its places taken is refused.
//
// The daemon ignores SIGCHLD, so a child is reaped by the kernel and
// waitpid(pid, WNOHANG) tells 0 while it runs and ECHILD once it has ended
// (where SIGCHLD is not ignored, the same call reaps it). A timer of the
// attached loop asks every kPollSeconds while a child runs; a child that
// outlives the time limit is killed, so a hung mail program cannot stop
// every later alarm. Loop thread only.
class MailQueue : muduo::noncopyable
{
public:
    enum Kind
    {
        kAlarm,
        kTest,
    };
    // Starts the mail program: its child's pid, or -1 when none started.
    typedef std::function<pid_t()> Starter;

    // Every alarm the monitor can raise at once (three per outlet, the
    // inlet's and the sensor's) finds a place; a test mail is one request.
    static constexpr size_t kAlarmPlaces = 32;
    static constexpr size_t kTestPlaces = 2;
    static constexpr double kTimeLimitSeconds = 120.0;
    static constexpr double kPollSeconds = 0.5;

    MailQueue(size_t alarmPlaces = kAlarmPlaces, size_t testPlaces = kTestPlaces,
              double timeLimitSeconds = kTimeLimitSeconds);
    ~MailQueue();

    // The daemon's one queue, which Email uses.
    static MailQueue& instance();

    // The loop that watches the running child; without one a waiting mail
    // starts only when the next one is submitted.
    void attach(muduo::net::EventLoop* loop);
    void detach();

    // Starts the mail at once when no child runs, else queues it; false
    // when it is refused.
    bool submit(Kind kind, Starter start);

    bool running() const { return child_ > 0; }
    size_t waiting() const { return alarms_.size() + tests_.size(); }

private:
    void poll();
    bool reaped();
    void startWaiting();
    void watch();

    const size_t alarmPlaces_;
    const size_t testPlaces_;
    const double timeLimit_;
    pid_t child_ = -1;
    muduo::Timestamp startedAt_;
    bool killed_ = false;
    std::deque<Starter> alarms_;
    std::deque<Starter> tests_;
    std::shared_ptr<PduTimer> timer_;
    bool watching_ = false;
    muduo::LogLimiter refusals_;
};
