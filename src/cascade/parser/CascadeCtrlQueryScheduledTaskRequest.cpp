#include "cascade/parser/CascadeCtrlQueryScheduledTaskRequest.h"

#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
namespace
{
void writeBound(muduo::net::WireWriter& w, const _DeviceDateTime& t)
{
    w.u8(t.year < 0 ? uint8_t(0xFF) : CascadeCtrlWireFields::yearByte(t.year))
        .u8(static_cast<uint8_t>(t.month))
        .u8(static_cast<uint8_t>(t.day))
        .u8(static_cast<uint8_t>(t.hour))
        .u8(static_cast<uint8_t>(t.minute))
        .u8(static_cast<uint8_t>(t.second));
}

void readBound(const int8_t* b, _DeviceDateTime& t)
{
    t.year = 2000 + b[0];
    t.month = b[1];
    t.day = b[2];
    t.hour = b[3];
    t.minute = b[4];
    t.second = b[5];
}

_DeviceDateTime notGiven()
{
    _DeviceDateTime t;
    t.year = t.month = t.day = t.hour = t.minute = t.second = -1;
    return t;
}
}

CascadeCtrlQueryScheduledTaskRequest::CascadeCtrlQueryScheduledTaskRequest() : start(notGiven()), end(notGiven()) {}

void CascadeCtrlQueryScheduledTaskRequest::write(muduo::net::WireWriter& w) const
{
    writeBound(w, start);
    writeBound(w, end);
}

bool CascadeCtrlQueryScheduledTaskRequest::read(muduo::net::WireReader& r)
{
    int8_t b[12];
    if (!r.bytes(b, sizeof b))
        return false;
    readBound(b, start);
    readBound(b + 6, end);
    return true;
}
}
