#pragma once
#include <string>
#include <vector>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's names as it answered them (QueryName and its Ext twin; the
// master itself answers name queries from its records and sends neither).
template <int kCode, auto kMgr>
class CascadeCtrlNameListRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        // Outlets ascending, the unit's name (key -1) last, as on the wire.
        const auto& names = this->answer_.data.names;
        std::vector<std::string> list;
        for (const auto& entry : names)
            if (entry.first >= 0)
                list.push_back(entry.second);
        if (names.count(-1))
            list.push_back(names.at(-1));
        LOG_INFO << "port bitmap:" << static_cast<unsigned long long>(this->answer_.data.receivedMask);
        kMgr(data, this->address(), this->result(), this->answer_.data.receivedMask, list);
    }
    void buildWebTransferPacket(std::string& text) override
    {
        web::WebPacketBuilder::buildQueryNameRetPacket(this->json_, text, this->result(), this->address(),
                                                      this->answer_.data.names);
    }
};
}
