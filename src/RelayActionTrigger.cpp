#include "RelayActionTrigger.h"

#include "PduTimer.h"

std::atomic<int> RelayActionTrigger::s_timerId(0);

RelayActionTrigger::RelayActionTrigger(muduo::net::EventLoop* loop) : loop_(loop), actions_(10) {}

RelayActionTrigger::~RelayActionTrigger()
{
    for (auto& entry : actions_)
        entry.second.timer->cancel();
}

std::shared_ptr<PduTimer> RelayActionTrigger::startRelayAction(int port, int action)
{
    int id = s_timerId.fetch_add(1);
    auto timer = std::make_shared<PduTimer>(loop_, id);
    timer->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) { onTimer(t->getId()); });
    actions_.emplace(id, Pending{timer, port, action});
    return timer;
}

void RelayActionTrigger::startRelayActionAfter(int port, int action, int delay)
{
    startRelayAction(port, action)->runAfter(static_cast<double>(delay));
}

void RelayActionTrigger::startRelayActionAt(int port, int action, muduo::Timestamp when)
{
    startRelayAction(port, action)->runAt(when);
}

size_t RelayActionTrigger::withdraw(int port, int action)
{
    size_t n = 0;
    for (auto it = actions_.begin(); it != actions_.end();)
    {
        if (it->second.port == port && it->second.action == action)
        {
            it->second.timer->cancel();
            it = actions_.erase(it);
            ++n;
        }
        else
            ++it;
    }
    return n;
}

size_t RelayActionTrigger::pendingActions(int port, int action) const
{
    size_t n = 0;
    for (const auto& entry : actions_)
        n += entry.second.port == port && (action == kAnyAction || entry.second.action == action);
    return n;
}

void RelayActionTrigger::onTimer(int id)
{
    auto it = actions_.find(id);
    if (it == actions_.end())
        return;
    // The entry owns the timer whose callback is running: keep it alive
    // until the callback has returned.
    const Pending fired = it->second;
    actions_.erase(it);
    if (callback_)
        callback_(fired.port, fired.action);
}
