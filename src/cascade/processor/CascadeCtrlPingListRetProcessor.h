#pragma once
#include <string>
#include <vector>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's ping watchdog settings (QueryPing and its Ext twin): one
// setting per outlet bit of the answered mask, ascending; the whole mask
// goes on to a manage-control client as answered.
template <int kCode, auto kMgr>
class CascadeCtrlPingListRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        kMgr(data, this->address(), this->result(), this->answer_.data.mask, settings());
    }
    void buildWebTransferPacket(std::string& text) override
    {
        web::WebPacketBuilder::buildQueryPingRetPacket(this->json_, text, this->result(), this->address(),
                                                      settings());
    }

private:
    std::vector<PingSetting> settings() const
    {
        std::vector<PingSetting> list;
        for (const auto& entry : this->answer_.data.settings)
            list.push_back(entry.second);
        return list;
    }
};
}
