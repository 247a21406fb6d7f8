#pragma once
#include <algorithm>

#include "cascade/processor/CascadeCtrlSlaveCommand.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
// QueryDeviceInfo and its Ext twin: identity, names, inlet limits and
// firmware from the device record. The name list holds outlets 0..n-1 with
// n the outlet count, at most one below the mask's width (the top bit names
// the unit itself); outlets beyond the record's name table go as empty names.
template <int kCode>
class CascadeCtrlSlaveDeviceInfo : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        const _Device& device = GlobalData::getDevice();
        LOG_INFO << "Slave addr:" << device.address << " uid:" << device.uid << " device name:" << device.deviceName
                 << " fw version:" << device.softVersion;
        auto& info = this->answer_.data;
        typedef decltype(info.names) Names;
        const int outlets = std::min(device.portCount, Names::Records::kLastOutlet + 1);
        for (int n = 0; n < outlets; ++n)
            info.names.names[n] = n < _Device::kPortSlots ? device.portNames[static_cast<size_t>(n)] : std::string();
        info.names.names[Names::kDeviceName] = device.deviceName;
        info.uid = device.uid;
        info.inputThreshold.threshold = device.inputThreshold;
        info.firmware = device.softVersion;
        return true;
    }
};
}
