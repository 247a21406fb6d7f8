#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <unordered_map>

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

// Runs relay actions scheduled for later, each on its own one-shot timer.
// A scheduled action cannot be withdrawn; every one fires at its own time,
// handing back the ticket it was scheduled with (the owner's mark of when
// it was asked for).
class RelayActionTrigger : muduo::noncopyable
{
public:
    typedef std::function<void(int port, int action, unsigned ticket)> RelayActionCallback;

    explicit RelayActionTrigger(muduo::net::EventLoop* loop);
    virtual ~RelayActionTrigger();

    std::shared_ptr<PduTimer> startRelayAction(int port, int action, unsigned ticket = 0);
    void startRelayActionAfter(int port, int action, int delay, unsigned ticket = 0);
    void startRelayActionAt(int port, int action, muduo::Timestamp when, unsigned ticket = 0);
    void setRelayActionCallback(RelayActionCallback cb) { callback_ = std::move(cb); }

    size_t pendingActions() const { return actions_.size(); }
    size_t pendingActions(int port) const;

private:
    struct Pending
    {
        std::shared_ptr<PduTimer> timer;
        int port;
        int action;
        unsigned ticket;
    };

    void onTimer(int id);

    static std::atomic<int> s_timerId;

    muduo::net::EventLoop* loop_;
    std::unordered_map<int, Pending> actions_;
    RelayActionCallback callback_;
};
