#pragma once
#include <cstdint>
#include <map>

#include "DataConverter.h"
#include "DeviceStatus.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/MaskTraits.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// A slave's live state (QueryDeviceStatus and its Ext twin): the parts byte,
// then the parts it names in bit order, then the outlet mask and one 14-byte
// reading per set bit (any bit of the mask, the top one included). The
// mask is derived from the readings on write.
template <typename M>
struct CascadeCtrlDeviceStatusData
{
    typedef MaskTraits<M> Traits;
    enum Part : uint8_t
    {
        kStates = 0x01,       // outlet on/off bitmap, as wide as M
        kEnvironment = 0x02,  // temperature (signed) and humidity
        kInlet = 0x04,        // the inlet's reading
    };

    uint8_t parts = 0;
    M states = 0;
    double temperature = 0;  // the invalid value when missing
    double humidity = 0;
    _DeviceInputStatus inlet;
    std::map<int, _DeviceInputStatus> outlets;

    void write(muduo::net::WireWriter& w) const
    {
        w.u8(parts);
        if (parts & kStates)
            w.mask(states);
        if (parts & kEnvironment)
            w.be16(static_cast<uint16_t>(DataConverter::TempDoubleToInt(temperature)))
                .be16(DataConverter::HumiDoubleToInt(humidity));
        if (parts & kInlet)
            CascadeCtrlWireFields::writeMeter(w, inlet);
        M mask = 0;
        for (const auto& entry : outlets)
            mask = static_cast<M>(mask | Traits::bit(entry.first));
        w.mask(mask);
        for (const auto& entry : outlets)
            if (Traits::test(mask, entry.first))
                CascadeCtrlWireFields::writeMeter(w, entry.second);
    }
    bool read(muduo::net::WireReader& r)
    {
        CascadeCtrlDeviceStatusData d;
        int16_t t = 0;
        uint16_t h = 0;
        M mask = 0;
        if (!r.u8(d.parts) || ((d.parts & kStates) && !r.mask(d.states)) ||
            ((d.parts & kEnvironment) && (!r.be16(t) || !r.be16(h))) ||
            ((d.parts & kInlet) && !CascadeCtrlWireFields::readMeter(r, d.inlet)) || !r.mask(mask))
            return false;
        for (int n = 0; n < Traits::kWidth; ++n)
            if (Traits::test(mask, n) && !CascadeCtrlWireFields::readMeter(r, d.outlets[n]))
                return false;
        if (d.parts & kEnvironment)
        {
            d.temperature = DataConverter::TempIntToDouble(t);
            d.humidity = DataConverter::HumiIntToDouble(h);
        }
        *this = d;
        return true;
    }
};
}
