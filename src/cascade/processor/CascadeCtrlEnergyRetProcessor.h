#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's energy statistics, for a manage-control client only. The
// series go on as the slave wrote them; its failure answer (the type and
// four zero bytes) reaches the client as the same failure reply a local
// query gives.
template <int kCode, auto kMgr>
class CascadeCtrlEnergyRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        const auto& e = this->answer_;
        LOG_INFO << "spans:" << e.spans;
        kMgr(data, this->address(), e.done ? 0 : 1, e.type, e.mask, e.startYear, e.startMonth, e.startDay,
             e.startHour, e.series);
    }
    void buildWebTransferPacket(std::string&) override {}
};
}
