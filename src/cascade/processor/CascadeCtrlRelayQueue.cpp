#include "cascade/processor/CascadeCtrlRelayQueue.h"

#include <algorithm>

#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"

namespace CascadeCtrl
{
static_assert(CascadeCtrlRelayQueue::kMaxRelays == 64 && CascadeCtrlRelayQueue::kMaxPerSlave == 16,
              "the refusals name the bounds");

const char* CascadeCtrlRelayQueue::refusal(int address, bool queueing, muduo::Timestamp now) const
{
    const auto missed = missedAt_.find(address);
    if (missed != missedAt_.end() && now >= missed->second &&
        muduo::timeDifference(now, missed->second) < kRefuseSeconds)
        return "the slave missed its last answer";
    if (!queueing)
        return nullptr;
    if (!CascadeCtrlSlaveRecords::find(address))
        return "no such slave";
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

size_t CascadeCtrlRelayQueue::missed(int address, muduo::Timestamp now)
{
    missedAt_[address] = now;
    const size_t before = queue_.size();
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [address](const auto& relay) { return relay->targetAddress() == address; }),
                 queue_.end());
    return before - queue_.size();
}

void CascadeCtrlRelayQueue::clear()
{
    queue_.clear();
    missedAt_.clear();
}
}
