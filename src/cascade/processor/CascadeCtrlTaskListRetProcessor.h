#pragma once
#include <string>
#include <vector>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
typedef void (*MgrCtrlTaskListWriter)(muduo::net::Buffer&, int, const std::vector<_DeviceTask>&);

// A slave's scheduled tasks. The answer has no status (a failed listing is
// an empty one), so the web answer always carries result 0.
template <int kCode, MgrCtrlTaskListWriter kMgr>
class CascadeCtrlTaskListRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        kMgr(data, this->address(), this->answer_.tasks);
    }
    void buildWebTransferPacket(std::string& text) override
    {
        web::WebPacketBuilder::buildQueryScheduledTaskRetPacket(this->json_, text, 0, this->address(),
                                                               this->answer_.tasks);
    }
};
}
