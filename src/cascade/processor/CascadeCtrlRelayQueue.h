#pragma once
#include <cstddef>
#include <deque>
#include <map>
#include <memory>

#include "muduo/base/Timestamp.h"

namespace CascadeCtrl
{
class CascadeCtrlRelay;

// The relayed requests that wait for the master's line, first in first out.
// The line serves one request at a time and a silent slave holds it for a
// whole time-out, so no slave may take more than its share: at most
// kMaxRelays wait in all and kMaxPerSlave for any one slave, nothing waits
// for an address without a slave record (it would be dropped at its turn),
// and a slave that has just missed an answer gets no request for
// kRefuseSeconds, or until it answers again; its waiting ones are dropped.
// Loop thread only.
class CascadeCtrlRelayQueue
{
public:
    static constexpr size_t kMaxRelays = 64;
    static constexpr size_t kMaxPerSlave = 16;
    static constexpr double kRefuseSeconds = 5.0;

    // The WARN line's reason why a request for address cannot be sent
    // (queueing false) or queued now, or null when it can.
    const char* refusal(int address, bool queueing, muduo::Timestamp now) const;

    void push(const std::shared_ptr<CascadeCtrlRelay>& relay) { queue_.push_back(relay); }
    std::shared_ptr<CascadeCtrlRelay> pop();
    bool empty() const { return queue_.empty(); }
    size_t size() const { return queue_.size(); }
    size_t waitingFor(int address) const;

    // The slave at address missed an answer: its waiting requests are
    // dropped (how many is returned) and new ones refused for a while.
    size_t missed(int address, muduo::Timestamp now);
    // It answered: requests for it are taken again.
    void answered(int address) { missedAt_.erase(address); }
    void clear();

private:
    std::deque<std::shared_ptr<CascadeCtrlRelay>> queue_;
    std::map<int, muduo::Timestamp> missedAt_;
};
}
