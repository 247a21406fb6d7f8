#pragma once
#include <memory>

#include "muduo/base/noncopyable.h"

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

// Acts on one decoded cascade frame. A slave's processors carry a request
// out and write the answer frame; a master's apply an answer to the relay
// that asked for it. Each side's base gives the other side's entry an empty
// body (and both entries must be overridden together, or one hides the
// other). The dispatcher writes the frame's address in before process.
class CascadeCtrlProcessor : muduo::noncopyable
{
public:
    virtual ~CascadeCtrlProcessor() = default;

    // Slave side: work, then one answer frame (this address, the request's
    // sequence) into out.
    virtual void process(muduo::net::Buffer& out, int sequence) = 0;
    // Master side: the answer for this relay's requester.
    virtual void process(const std::shared_ptr<CascadeCtrlRelay>& relay) = 0;

    int address() const { return address_; }
    void setAddress(int address) { address_ = address; }

private:
    int address_ = 0;
};
}
