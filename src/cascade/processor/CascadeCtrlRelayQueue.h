#pragma once
#include <cstddef>
#include <deque>
#include <map>
#include <memory>

namespace CascadeCtrl
{
class CascadeCtrlRelay;

// The relayed requests that wait for the master's line, first in first out.
// The line serves one request at a time and a silent slave holds it for a
// whole time-out, so no slave may take more than its share: at most
// kMaxRelays wait in all and kMaxPerSlave for any one slave. Nothing is taken
// for an address without a slave record (no one would answer it), nor for a
// slave that has missed an answer, until it answers again (its identity
// poll comes at its every turn); its waiting ones are dropped when it misses.
// Loop thread only.
class CascadeCtrlRelayQueue
{
public:
    static constexpr size_t kMaxRelays = 64;
    static constexpr size_t kMaxPerSlave = 16;

    // The WARN line's reason why a request for address cannot be sent
    // (queueing false) or queued now, or null when it can.
    const char* refusal(int address, bool queueing) const;

    void push(const std::shared_ptr<CascadeCtrlRelay>& relay) { queue_.push_back(relay); }
    std::shared_ptr<CascadeCtrlRelay> pop();
    bool empty() const { return queue_.empty(); }
    size_t size() const { return queue_.size(); }
    size_t waitingFor(int address) const;

    // The slave at address missed an answer: its waiting requests are
    // dropped (how many goes to dropped) and new ones refused. True when it
    // has just gone silent: it had not missed one since it last answered.
    bool missed(int address, size_t& dropped);
    // A refused request is counted: true when its refusal is to be logged,
    // which for a silent slave is only the first of its silence.
    bool refused(int address);
    // It answered: requests for it are taken again. True when it had gone
    // silent; refused is then how many were refused meanwhile.
    bool answered(int address, size_t& refused);
    void clear();

private:
    std::deque<std::shared_ptr<CascadeCtrlRelay>> queue_;
    // The silent slaves, each with the requests refused since it fell silent.
    std::map<int, size_t> silent_;
};
}
