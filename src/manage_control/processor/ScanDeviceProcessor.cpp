#include "manage_control/processor/ScanDeviceProcessor.h"

#include "Utility.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "muduo/base/Logging.h"
#include "netext/WireWriter.h"

namespace MgrCtrl
{
int ScanDeviceProcessor::work()
{
    Utility::NetworkQeuryResult network;
    Utility::getNetworkParam(&network);
    const Utility::NetworkQeuryEntry& eth0 = network.entries[0];
    if (!eth0.valid)
        return 1;
    ip_ = eth0.ip;
    LOG_INFO << "ip:" << muduo::Fmt("0x%08X", ip_);
    return 0;
}

void ScanDeviceProcessor::buildResponseData(int result, muduo::net::Buffer& data)
{
    // No result byte: a unit without an address answers 0.0.0.0.
    muduo::net::WireWriter(data).u8(kScanDevice).be32(result == 0 ? ip_ : 0);
}
}
