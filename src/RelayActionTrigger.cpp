#include "RelayActionTrigger.h"

#include "PduTimer.h"

std::atomic<int> RelayActionTrigger::s_timerId(0);

RelayActionTrigger::RelayActionTrigger(muduo::net::EventLoop* loop) : loop_(loop), actions_(10) {}

RelayActionTrigger::~RelayActionTrigger()
{
    for (auto& entry : actions_)
        std::get<0>(entry.second)->cancel();
}

std::shared_ptr<PduTimer> RelayActionTrigger::startRelayAction(int port, int action)
{
    int id = s_timerId.fetch_add(1);
    auto timer = std::make_shared<PduTimer>(loop_, id);
    timer->setTimerCallback([this](const std::shared_ptr<PduTimer>& t) { onTimer(t->getId()); });
    actions_.emplace(id, std::make_tuple(timer, port, action));
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

size_t RelayActionTrigger::pendingActions(int port) const
{
    size_t n = 0;
    for (const auto& entry : actions_)
        n += std::get<1>(entry.second) == port;
    return n;
}

void RelayActionTrigger::onTimer(int id)
{
    auto it = actions_.find(id);
    if (it == actions_.end())
        return;
    // The entry owns the timer whose callback is running: keep it alive
    // until the callback has returned.
    std::shared_ptr<PduTimer> keep = std::get<0>(it->second);
    int port = std::get<1>(it->second);
    int action = std::get<2>(it->second);
    actions_.erase(it);
    if (callback_)
        callback_(port, action);
}
