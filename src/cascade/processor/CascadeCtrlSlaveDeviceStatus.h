#pragma once
#include "Utility.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// QueryDeviceStatus and its Ext twin: the parts asked for (bits 0 to 2)
// and the readings of the outlets asked for, cut to the unit's outlet
// count. An outlet beyond the live table answers as a missing reading.
template <int kCode>
class CascadeCtrlSlaveDeviceStatus : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        auto& r = this->request;
        typedef decltype(r.mask) M;
        r.parts &= 0x07;
        r.mask = this->belowOutletCount(r.mask);
        const _DeviceStatus& live = GlobalData::getDevice().status;
        auto& status = this->answer_.data;
        status.parts = r.parts;
        status.states = static_cast<M>(live.onOffMask);
        status.temperature = live.environment.temperature;
        status.humidity = live.environment.humidity;
        status.inlet = live.input;
        MaskTraits<M>::forEachSetBit(r.mask, [&](int n) {
            _DeviceInputStatus& reading = status.outlets[n];
            if (n >= _DeviceStatus::kPortSlots)
            {
                reading.voltage = reading.current = Utility::kInvalidDoubleValue;
                return;
            }
            const _DeviceOutputStatus& outlet = live.outputs[static_cast<size_t>(n)];
            reading.voltage = outlet.voltage;
            reading.current = outlet.current;
            reading.power = outlet.power;
            reading.factor = outlet.factor;
            reading.energy = outlet.energy;
        });
        return true;
    }
};
}
