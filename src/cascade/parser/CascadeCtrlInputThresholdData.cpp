#include "cascade/parser/CascadeCtrlInputThresholdData.h"

#include <cstdint>

#include "DataConverter.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlInputThresholdData::write(muduo::net::WireWriter& w) const
{
    const _DeviceInputThreshold& t = threshold;
    w.u8(t.mask);
    if (t.mask & 0x01)
        w.be16(DataConverter::VoltageDoubleToInt(t.warnUpperVoltage))
            .be16(DataConverter::VoltageDoubleToInt(t.warnLowerVoltage));
    if (t.mask & 0x02)
        w.be16(DataConverter::CurrentDoubleToInt(t.warnUpperCurrent))
            .be16(DataConverter::CurrentDoubleToInt(t.warnLowerCurrent));
}

bool CascadeCtrlInputThresholdData::read(muduo::net::WireReader& r)
{
    _DeviceInputThreshold t;
    uint16_t v[4] = {};
    if (!r.u8(t.mask) || ((t.mask & 0x01) && (!r.be16(v[0]) || !r.be16(v[1]))) ||
        ((t.mask & 0x02) && (!r.be16(v[2]) || !r.be16(v[3]))))
        return false;
    if (t.mask & 0x01)
    {
        t.warnUpperVoltage = DataConverter::VoltageIntToDouble(v[0]);
        t.warnLowerVoltage = DataConverter::VoltageIntToDouble(v[1]);
    }
    if (t.mask & 0x02)
    {
        t.warnUpperCurrent = DataConverter::CurrentIntToDouble(v[2]);
        t.warnLowerCurrent = DataConverter::CurrentIntToDouble(v[3]);
    }
    threshold = t;
    return true;
}
}
