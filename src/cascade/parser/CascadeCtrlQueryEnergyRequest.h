#pragma once
#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// QueryEnergy (11 bytes after the code) and QueryEnergyExt (15): statistics
// type (1 hourly, 2 daily, 3 monthly), ports (the top bit is the inlet), time
// zone (signed), start year - 2000, month, day, hour, number of spans.
template <typename M>
struct CascadeCtrlQueryEnergyRequest
{
    int type = 0;
    M mask = 0;
    int timeZone = 0;
    int startYear = 0;
    int startMonth = 0;
    int startDay = 0;
    int startHour = 0;
    int spans = 0;

    void write(muduo::net::WireWriter& w) const
    {
        w.u8(static_cast<uint8_t>(type))
            .mask(mask)
            .u8(static_cast<uint8_t>(timeZone))
            .u8(CascadeCtrlWireFields::yearByte(startYear))
            .u8(static_cast<uint8_t>(startMonth))
            .u8(static_cast<uint8_t>(startDay))
            .u8(static_cast<uint8_t>(startHour))
            .u8(static_cast<uint8_t>(spans));
    }
    bool read(muduo::net::WireReader& r)
    {
        uint8_t t = 0, b[5];
        int8_t zone = 0;
        M m = 0;
        if (!r.u8(t) || !r.mask(m) || !r.s8(zone) || !r.bytes(b, sizeof b))
            return false;
        type = t;
        mask = m;
        timeZone = zone;
        startYear = 2000 + b[0];
        startMonth = b[1];
        startDay = b[2];
        startHour = b[3];
        spans = b[4];
        return true;
    }
};
}
