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
}

namespace MgrCtrl
{
// One manage-control request, alive for that request only: carried out here
// (work, then the reply frame), or holding the relay that takes it to a
// slave. Loop thread only.
class MgrCtrlProcessor : muduo::noncopyable
{
public:
    MgrCtrlProcessor();
    virtual ~MgrCtrlProcessor();

    // 0 done, any other value failed: the reply's result.
    virtual int work() = 0;
    // Appends the command's reply data, code byte first.
    virtual void buildResponseData(int result, muduo::net::Buffer& data) = 0;

    // Runs work() and appends the reply frame to out.
    void process(muduo::net::Buffer& out);
    // Appends the frame around the reply data for result, with the request
    // frame's checksum flag.
    void buildResponsePacket(int result, muduo::net::Buffer& out);

    bool checksumFlag() const { return checksumFlag_; }
    void setChecksumFlag(bool flag) { checksumFlag_ = flag; }
    const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay() const { return relay_; }
    void setRelay(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay) { relay_ = relay; }

private:
    bool checksumFlag_;
    std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay_;
};
}
