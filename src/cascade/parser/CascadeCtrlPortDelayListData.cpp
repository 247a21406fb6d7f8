#include "cascade/parser/CascadeCtrlPortDelayListData.h"

#include <algorithm>
#include <cstdint>

#include "DataConverter.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlPortDelayListData::write(muduo::net::WireWriter& w) const
{
    const size_t count = std::min(delays.size(), kMaxEntries);
    w.u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
        w.be16(static_cast<uint16_t>(delays[i].onDelay))
            .be16(static_cast<uint16_t>(delays[i].offDelay))
            .be16(static_cast<uint16_t>(delays[i].restartDelay));
}

bool CascadeCtrlPortDelayListData::read(muduo::net::WireReader& r)
{
    uint8_t count = 0;
    if (!r.u8(count) || r.remaining() < size_t(count) * 6)
        return false;
    std::vector<_DevicePortDelay> got(count);
    for (uint8_t i = 0; i < count; ++i)
    {
        uint16_t on = 0, off = 0, restart = 0;
        r.be16(on);
        r.be16(off);
        r.be16(restart);
        got[i].port = i;
        got[i].onDelay = DataConverter::DelayNetToLocal(on);
        got[i].offDelay = DataConverter::DelayNetToLocal(off);
        got[i].restartDelay = DataConverter::DelayNetToLocal(restart);
    }
    delays.swap(got);
    return true;
}
}
