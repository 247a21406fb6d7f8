#pragma once
#include <functional>
#include <memory>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "muduo/net/TimerId.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}

class PduTimer;
typedef std::function<void(const std::shared_ptr<PduTimer>&)> PduTimerCallback;

// The system's timer object: delays and periods on the monotonic clock,
// times of day on the wall clock. Always held by a shared_ptr (make_shared),
// because a firing hands the callback the timer itself. Loop thread only.
//
// Arming does not cancel a timer armed before; owners cancel first, and
// always before they release the timer.
class PduTimer : muduo::noncopyable, public std::enable_shared_from_this<PduTimer>
{
public:
    PduTimer(muduo::net::EventLoop* loop, int id);
    virtual ~PduTimer();

    void setTimerCallback(const PduTimerCallback& cb) { callback_ = cb; }
    int getId() const { return id_; }

    void runAt(muduo::Timestamp time);
    void runAfter(double seconds);
    void runEvery(double seconds);
    // Cancels the timer armed last.
    void cancel();
    // When the timer armed last fires next (on the monotonic clock, or the
    // wall clock after runAt; a periodic timer's first firing); invalid
    // once it fired or was cancelled.
    muduo::Timestamp expiration() const { return expiration_; }

private:
    void onOneShot();
    void onPeriodic();

    muduo::net::EventLoop* loop_;
    int id_;
    PduTimerCallback callback_;
    muduo::net::TimerId timerId_;
    muduo::Timestamp expiration_;
};
