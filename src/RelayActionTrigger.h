#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <tuple>
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
// A scheduled action cannot be withdrawn; every one fires at its own time.
class RelayActionTrigger : muduo::noncopyable
{
public:
    typedef std::function<void(int port, int action)> RelayActionCallback;

    explicit RelayActionTrigger(muduo::net::EventLoop* loop);
    virtual ~RelayActionTrigger();

    std::shared_ptr<PduTimer> startRelayAction(int port, int action);
    void startRelayActionAfter(int port, int action, int delay);
    void startRelayActionAt(int port, int action, muduo::Timestamp when);
    void setRelayActionCallback(RelayActionCallback cb) { callback_ = std::move(cb); }

    size_t pendingActions() const { return actions_.size(); }
    size_t pendingActions(int port) const;

private:
    void onTimer(int id);

    static std::atomic<int> s_timerId;

    muduo::net::EventLoop* loop_;
    std::unordered_map<int, std::tuple<std::shared_ptr<PduTimer>, int, int>> actions_;
    RelayActionCallback callback_;
};
