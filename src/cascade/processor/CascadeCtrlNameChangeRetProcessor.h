#pragma once
#include <string>

#include "GlobalData.h"
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's answer to a name change (SetName and its Ext twin): the client
// gets the status and the names' mask; then the master's record of the
// slave takes the names the slave stored, so that name queries answered
// from it see them before the next identity poll.
template <int kCode, auto kMgr>
class CascadeCtrlNameChangeRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        LOG_INFO << "port bitmap:" << static_cast<unsigned long long>(this->answer_.data.receivedMask);
        kMgr(data, this->result(), this->answer_.data.receivedMask);
    }
    void buildWebTransferPacket(std::string& text) override
    {
        web::WebPacketBuilder::buildSetNameRetPacket(this->json_, text, this->result());
    }
    void work() override
    {
        LOG_INFO << "addr:" << this->address();
        auto& slaves = GlobalData::getDevice().slaves;
        auto slave = slaves.find(this->address());
        if (slave == slaves.end() || !this->answer_.done())
            return;
        for (const auto& entry : this->answer_.data.names)
        {
            if (entry.first == -1)
            {
                slave->second.deviceName = entry.second;
                LOG_INFO << "set cache device name:" << entry.second;
            }
            else if (entry.first >= 0 && entry.first < static_cast<int>(slave->second.portNames.size()))
            {
                slave->second.portNames[static_cast<size_t>(entry.first)] = entry.second;
                LOG_INFO << "set cache port name,port:" << entry.first << " name:" << entry.second;
            }
            else
                LOG_WARN << "addr:" << this->address() << " name of outlet " << entry.first << " not cached";
        }
    }
};
}
