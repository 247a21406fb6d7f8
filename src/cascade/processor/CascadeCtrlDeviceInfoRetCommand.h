#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeCtrlRetCommand.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"

namespace CascadeCtrl
{
// The identity poll's answer (QueryDeviceInfo and its Ext twin): only the
// master asks it, so it goes to the slave's record, never to a client.
template <int kCode>
class CascadeCtrlDeviceInfoRetCommand : public CascadeCtrlRetCommand<kCode>
{
public:
    using CascadeCtrlMasterProcessor::process;
    void process(const std::shared_ptr<CascadeCtrlRelay>& relay) override
    {
        if (!relay || !this->answer_.done())
            return;
        const auto& d = this->answer_.data;
        CascadeCtrlSlaveRecords::storeIdentity(relay->targetAddress(), d.uid, d.names.names,
                                               d.inputThreshold.threshold, d.firmware);
    }
    void buildMgrCtrlDataPacket(muduo::net::Buffer&) override {}
    void buildWebTransferPacket(std::string&) override {}
};
}
