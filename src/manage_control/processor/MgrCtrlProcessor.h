#pragma once
#include <memory>

namespace muduo
{
namespace net
{
class Buffer;
}
}
namespace CascadeCtrl
{
class CascadeCtrlRelay;
}

namespace MgrCtrl
{
// One parsed manage-control command: answers it here, or carries the relay
// that takes it to a slave.
class MgrCtrlProcessor
{
public:
    virtual ~MgrCtrlProcessor() = default;
    // Runs the command and appends the framed reply.
    virtual void process(muduo::net::Buffer& reply) = 0;

    const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay() const { return relay_; }
    void setRelay(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay) { relay_ = relay; }

private:
    std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay_;
};
}
