#include "cascade/parser/CascadeCtrlQueryLogRequest.h"

#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryLogRequest::write(muduo::net::WireWriter& w) const
{
    w.u8(static_cast<uint8_t>(type))
        .u8(CascadeCtrlWireFields::yearByte(startYear))
        .u8(static_cast<uint8_t>(startMonth))
        .u8(static_cast<uint8_t>(startDay))
        .u8(CascadeCtrlWireFields::yearByte(endYear))
        .u8(static_cast<uint8_t>(endMonth))
        .u8(static_cast<uint8_t>(endDay));
}

bool CascadeCtrlQueryLogRequest::read(muduo::net::WireReader& r)
{
    int8_t b[7];
    if (!r.bytes(b, sizeof b))
        return false;
    type = b[0];
    startYear = 2000 + b[1];
    startMonth = b[2];
    startDay = b[3];
    endYear = 2000 + b[4];
    endMonth = b[5];
    endDay = b[6];
    return true;
}
}
