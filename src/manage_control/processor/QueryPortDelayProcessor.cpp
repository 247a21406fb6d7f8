#include "manage_control/processor/QueryPortDelayProcessor.h"

#include "GlobalData.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
void QueryPortDelayProcessor::buildResponseData(int, muduo::net::Buffer& data)
{
    const _Device& device = GlobalData::getDevice();
    std::vector<_DevicePortDelay> delays;
    for (int port = 0; port < device.portCount; ++port)
    {
        _DevicePortDelay entry;
        if (port < device.slotCount())
            entry = device.portDelays[static_cast<size_t>(port)];
        entry.port = port;
        delays.push_back(entry);
    }
    MgrCtrlPacketBuilder::buildQueryPortDelayRetData(data, 0, delays);
}
}
