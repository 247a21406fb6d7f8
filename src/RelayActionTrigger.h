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
// Every action fires at its own time unless the owner withdraws it (the
// container withdraws only restarts that a later request overrides).
class RelayActionTrigger : muduo::noncopyable
{
public:
    typedef std::function<void(int port, int action)> RelayActionCallback;

    explicit RelayActionTrigger(muduo::net::EventLoop* loop);
    virtual ~RelayActionTrigger();

    std::shared_ptr<PduTimer> startRelayAction(int port, int action);
    void startRelayActionAfter(int port, int action, int delay);
    void startRelayActionAt(int port, int action, muduo::Timestamp when);
    // Drops every waiting action of the port equal to action, unfired;
    // returns how many.
    size_t withdraw(int port, int action);
    void setRelayActionCallback(RelayActionCallback cb) { callback_ = std::move(cb); }

    size_t pendingActions() const { return actions_.size(); }
    static constexpr int kAnyAction = -1;
    size_t pendingActions(int port, int action = kAnyAction) const;

private:
    struct Pending
    {
        std::shared_ptr<PduTimer> timer;
        int port;
        int action;
    };

    void onTimer(int id);

    static std::atomic<int> s_timerId;

    muduo::net::EventLoop* loop_;
    std::unordered_map<int, Pending> actions_;
    RelayActionCallback callback_;
};
