#include "cascade/parser/CascadeCtrlOutputThresholdListData.h"

#include <algorithm>
#include <cstdint>

#include "DataConverter.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlOutputThresholdListData::write(muduo::net::WireWriter& w) const
{
    const size_t count = std::min(thresholds.size(), kMaxEntries);
    w.u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
    {
        const _DeviceOutputThreshold& t = thresholds[i];
        w.be16(DataConverter::CurrentDoubleToInt(t.warnUpperCurrent))
            .be16(DataConverter::CurrentDoubleToInt(t.warnLowerCurrent))
            .be16(DataConverter::CurrentDoubleToInt(t.offUpperCurrent))
            .be16(DataConverter::CurrentDoubleToInt(t.offLowerCurrent));
    }
}

bool CascadeCtrlOutputThresholdListData::read(muduo::net::WireReader& r)
{
    uint8_t count = 0;
    if (!r.u8(count) || r.remaining() < size_t(count) * 8)
        return false;
    std::vector<_DeviceOutputThreshold> got(count);
    for (uint8_t i = 0; i < count; ++i)
    {
        uint16_t v[4] = {};
        for (uint16_t& field : v)
            r.be16(field);
        _DeviceOutputThreshold& t = got[i];
        t.port = i;
        t.warnUpperCurrent = DataConverter::CurrentIntToDouble(v[0]);
        t.warnLowerCurrent = DataConverter::CurrentIntToDouble(v[1]);
        t.offUpperCurrent = DataConverter::CurrentIntToDouble(v[2]);
        t.offLowerCurrent = DataConverter::CurrentIntToDouble(v[3]);
    }
    thresholds.swap(got);
    return true;
}
}
