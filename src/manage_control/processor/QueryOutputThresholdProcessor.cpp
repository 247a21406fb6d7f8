#include "manage_control/processor/QueryOutputThresholdProcessor.h"

#include "GlobalData.h"
#include "Utility.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
void QueryOutputThresholdProcessor::buildResponseData(int, muduo::net::Buffer& data)
{
    const _Device& device = GlobalData::getDevice();
    _DeviceOutputThresholdSetting list;
    for (int port = 0; port < device.portCount; ++port)
    {
        _DeviceOutputThreshold entry;
        if (port < device.slotCount())
        {
            entry = device.outputThresholds[static_cast<size_t>(port)];
        }
        else
        {
            entry.warnUpperCurrent = entry.warnLowerCurrent = Utility::kInvalidDoubleValue;
            entry.offUpperCurrent = entry.offLowerCurrent = Utility::kInvalidDoubleValue;
        }
        entry.port = port;
        list.thresholds.push_back(entry);
    }
    MgrCtrlPacketBuilder::buildQueryOutputThresholdRetData(data, 0, list);
}
}
