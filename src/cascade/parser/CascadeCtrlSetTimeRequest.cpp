#include "cascade/parser/CascadeCtrlSetTimeRequest.h"

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlSetTimeRequest::write(muduo::net::WireWriter& w) const
{
    w.u8(CascadeCtrlWireFields::yearByte(time.year))
        .u8(static_cast<uint8_t>(time.month))
        .u8(static_cast<uint8_t>(time.day))
        .u8(static_cast<uint8_t>(time.hour))
        .u8(static_cast<uint8_t>(time.minute))
        .u8(static_cast<uint8_t>(time.second));
}

bool CascadeCtrlSetTimeRequest::read(muduo::net::WireReader& r)
{
    uint8_t b[6];
    if (!r.bytes(b, sizeof b))
        return false;
    time.year = 2000 + b[0];
    time.month = b[1];
    time.day = b[2];
    time.hour = b[3];
    time.minute = b[4];
    time.second = b[5];
    return true;
}
}
