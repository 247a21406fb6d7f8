#include "RelayActionTrigger.h"

#include "PduTimer.h"

std::atomic<int> RelayActionTrigger::s_timerId(0);

RelayActionTrigger::RelayActionTrigger(muduo::net::EventLoop* loop) : loop_(loop), actions_(10) {}

RelayActionTrigger::~RelayActionTrigger()
{
    for (auto& entry : actions_)
        entry.second.timer->cancel();
}

std::shared_ptr<PduTimer> RelayActionTrigger::startRelayAction(int port, int action, unsigned ticket)
{
    int id = s_timerId.fetch_add(1);
    auto timer = std::make_shared<PduTimer>(loop_, id);
    timer->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) { onTimer(t->getId()); });
    actions_.emplace(id, Pending{timer, port, action, ticket});
    return timer;
}

void RelayActionTrigger::startRelayActionAfter(int port, int action, int delay, unsigned ticket)
{
    startRelayAction(port, action, ticket)->runAfter(static_cast<double>(delay));
}

void RelayActionTrigger::startRelayActionAt(int port, int action, muduo::Timestamp when, unsigned ticket)
{
    startRelayAction(port, action, ticket)->runAt(when);
}

size_t RelayActionTrigger::pendingActions(int port) const
{
    size_t n = 0;
    for (const auto& entry : actions_)
        n += entry.second.port == port;
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
        callback_(fired.port, fired.action, fired.ticket);
}
