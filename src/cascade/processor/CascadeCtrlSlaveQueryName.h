#pragma once
#include <algorithm>
#include <string>

#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// QueryName and its Ext twin: the names the mask selects, of outlets the
// unit has (at most one below the mask's width; the top bit is the unit's
// name). Outlets beyond the record's name table go as empty names.
template <int kCode>
class CascadeCtrlSlaveQueryName : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        const _Device& device = GlobalData::getDevice();
        const auto mask = this->request.mask;
        typedef MaskTraits<decltype(this->request.mask)> Traits;
        auto& names = this->answer_.data;
        typedef decltype(this->answer_.data) Names;
        const int outlets = std::min(device.portCount, Names::Records::kLastOutlet + 1);
        for (int n = 0; n < outlets; ++n)
            if (Traits::test(mask, n))
                names.names[n] = n < _Device::kPortSlots ? device.portNames[static_cast<size_t>(n)] : std::string();
        if (mask & Traits::kTopBit)
            names.names[Names::kDeviceName] = device.deviceName;
        return true;
    }
};
}
