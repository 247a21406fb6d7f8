#include "cascade/processor/CascadeCtrlRelayQueue.h"

#include <algorithm>

#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"

namespace CascadeCtrl
{
static_assert(CascadeCtrlRelayQueue::kMaxRelays == 64 && CascadeCtrlRelayQueue::kMaxPerSlave == 16,
              "the refusals name the bounds");

const char* CascadeCtrlRelayQueue::refusal(int address, bool queueing) const
{
    // Checked on a free line too: a request nobody answers holds it for a
    // whole time-out.
    if (!CascadeCtrlSlaveRecords::find(address))
        return "no such slave";
    if (silent_.count(address))
        return "the slave missed its last answer";
    if (!queueing)
        return nullptr;
    if (queue_.size() >= kMaxRelays)
        return "relay queue full (64)";
    if (waitingFor(address) >= kMaxPerSlave)
        return "the slave's share of the relay queue (16) is full";
    return nullptr;
}

std::shared_ptr<CascadeCtrlRelay> CascadeCtrlRelayQueue::pop()
{
    std::shared_ptr<CascadeCtrlRelay> front = queue_.front();
    queue_.pop_front();
    return front;
}

size_t CascadeCtrlRelayQueue::waitingFor(int address) const
{
    return static_cast<size_t>(std::count_if(queue_.begin(), queue_.end(), [address](const auto& relay) {
        return relay->targetAddress() == address;
    }));
}

bool CascadeCtrlRelayQueue::missed(int address, size_t& dropped)
{
    const size_t before = queue_.size();
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [address](const auto& relay) { return relay->targetAddress() == address; }),
                 queue_.end());
    dropped = before - queue_.size();
    return silent_.emplace(address, 0).second;
}

bool CascadeCtrlRelayQueue::refused(int address)
{
    const auto silent = silent_.find(address);
    return silent == silent_.end() || ++silent->second == 1;
}

bool CascadeCtrlRelayQueue::answered(int address, size_t& refused)
{
    const auto silent = silent_.find(address);
    if (silent == silent_.end())
        return false;
    refused = silent->second;
    silent_.erase(silent);
    return true;
}

void CascadeCtrlRelayQueue::clear()
{
    queue_.clear();
    silent_.clear();
}
}
