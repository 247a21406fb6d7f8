#include "cascade/parser/CascadeCtrlLogListData.h"

#include <algorithm>
#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlLogListData::write(muduo::net::WireWriter& w) const
{
    const size_t count = std::min(logs.size(), kMaxRows);
    w.be16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
    {
        const _SystemLogItem& l = logs[i];
        w.be32(static_cast<uint32_t>(l.id))
            .u8(CascadeCtrlWireFields::yearByte(l.year))
            .u8(static_cast<uint8_t>(l.month))
            .u8(static_cast<uint8_t>(l.day))
            .u8(static_cast<uint8_t>(l.hour))
            .u8(static_cast<uint8_t>(l.minute))
            .u8(static_cast<uint8_t>(l.second))
            .u8(static_cast<uint8_t>(l.type))
            .u8(static_cast<uint8_t>(l.port))
            .u8(static_cast<uint8_t>(l.desc));
    }
}

bool CascadeCtrlLogListData::read(muduo::net::WireReader& r)
{
    uint16_t count = 0;
    if (!r.be16(count) || r.remaining() < size_t(count) * 13)
        return false;
    std::vector<_SystemLogItem> got(count);
    for (_SystemLogItem& l : got)
    {
        uint32_t id = 0;
        uint8_t b[9] = {};
        r.be32(id);
        r.bytes(b, sizeof b);
        l.id = static_cast<int32_t>(id);
        l.year = 2000 + b[0];
        l.month = b[1];
        l.day = b[2];
        l.hour = b[3];
        l.minute = b[4];
        l.second = b[5];
        l.type = b[6];
        l.port = b[7] == kNoPort ? -1 : b[7];
        l.desc = b[8];
    }
    logs.swap(got);
    return true;
}
}
