#include "cascade/processor/CascadeCtrlQueryOutputThresholdProcessor.h"

#include "Utility.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryOutputThresholdProcessor::work()
{
    const _Device& device = GlobalData::getDevice();
    const int outlets = device.portCount < 0 ? 0 : (device.portCount & 0xFF);
    std::vector<_DeviceOutputThreshold>& list = answer_.thresholds;
    for (int n = 0; n < outlets; ++n)
    {
        _DeviceOutputThreshold entry;
        if (n < _Device::kPortSlots)
            entry = device.outputThresholds[static_cast<size_t>(n)];
        else
            entry.warnUpperCurrent = entry.warnLowerCurrent = entry.offUpperCurrent = entry.offLowerCurrent =
                Utility::kInvalidDoubleValue;
        entry.port = n;
        list.push_back(entry);
    }
    return true;
}
}
