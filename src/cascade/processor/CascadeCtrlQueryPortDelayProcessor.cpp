#include "cascade/processor/CascadeCtrlQueryPortDelayProcessor.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryPortDelayProcessor::work()
{
    const _Device& device = GlobalData::getDevice();
    const int outlets = device.portCount < 0 ? 0 : (device.portCount & 0xFF);
    for (int n = 0; n < outlets; ++n)
    {
        _DevicePortDelay entry;
        if (n < _Device::kPortSlots)
            entry = device.portDelays[static_cast<size_t>(n)];
        entry.port = n;
        answer_.delays.push_back(entry);
    }
    return true;
}
}
