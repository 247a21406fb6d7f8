#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlRetCommand.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"
#include "netext/MaskTraits.h"

namespace CascadeCtrl
{
// The status poll's answer (QueryDeviceStatus and its Ext twin): the
// slave's live state into its record and the SNMP mirror.
template <int kCode>
class CascadeCtrlDeviceStatusRetCommand : public CascadeCtrlRetCommand<kCode>
{
public:
    using CascadeCtrlMasterProcessor::process;
    void process(const std::shared_ptr<CascadeCtrlRelay>& relay) override
    {
        if (!relay || !this->answer_.done())
            return;
        const auto& d = this->answer_.data;
        typedef MaskTraits<typename std::decay<decltype(d.states)>::type> Traits;
        CascadeCtrlSlaveRecords::storeStatus(relay->targetAddress(), d.parts, d.states, Traits::kWidth,
                                             d.temperature, d.humidity, d.inlet, d.outlets);
    }
    void buildMgrCtrlDataPacket(muduo::net::Buffer&) override {}
    void buildWebTransferPacket(std::string&) override {}
};
}
