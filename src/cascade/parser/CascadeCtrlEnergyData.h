#pragma once
#include <cstdint>
#include <vector>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// Energy statistics (QueryEnergy, and its Ext twin with a 64-bit mask): the
// type asked for, then the ports' mask (the top bit is the inlet), start
// year - 2000, month, day, hour and the number of spans, then the series:
// spans 32-bit values each (hundredths of a kWh, 0xFFFFFFFF for a period
// without statistics), one series after another to the end of the payload.
// No status byte: a failed query is the type and four zero bytes. Each
// series is written as exactly spans values (padded with 0xFFFFFFFF), so a
// reader splits the values by spans.
template <typename M>
struct CascadeCtrlEnergyData
{
    static constexpr uint32_t kNoStatistics = 0xFFFFFFFF;
    typedef std::vector<std::vector<unsigned int>> Series;

    int type = 0;
    bool done = false;
    M mask = 0;
    int startYear = 0;
    int startMonth = 0;
    int startDay = 0;
    int startHour = 0;
    int spans = 0;
    Series series;

    void write(muduo::net::WireWriter& w) const
    {
        w.u8(static_cast<uint8_t>(type));
        if (!done)
        {
            w.be32(0);
            return;
        }
        const uint8_t n = static_cast<uint8_t>(spans);
        w.mask(mask)
            .u8(CascadeCtrlWireFields::yearByte(startYear))
            .u8(static_cast<uint8_t>(startMonth))
            .u8(static_cast<uint8_t>(startDay))
            .u8(static_cast<uint8_t>(startHour))
            .u8(n);
        for (const std::vector<unsigned int>& values : series)
            for (size_t i = 0; i < n; ++i)
                w.be32(i < values.size() ? values[i] : kNoStatistics);
    }
    bool read(muduo::net::WireReader& r)
    {
        CascadeCtrlEnergyData d;
        uint8_t t = 0, b[5] = {};
        if (!r.u8(t))
            return false;
        d.type = t;
        if (r.remaining() < sizeof(M) + sizeof b)
        {
            uint32_t zero = 1;
            if (!r.be32(zero) || zero != 0)
                return false;
            *this = d;
            return true;
        }
        r.mask(d.mask);
        r.bytes(b, sizeof b);
        d.done = true;
        d.startYear = 2000 + b[0];
        d.startMonth = b[1];
        d.startDay = b[2];
        d.startHour = b[3];
        d.spans = b[4];
        const size_t seriesBytes = size_t(d.spans) * 4;
        if (seriesBytes == 0 ? r.remaining() != 0 : r.remaining() % seriesBytes != 0)
            return false;
        while (r.remaining() > 0)
        {
            d.series.emplace_back(d.spans);
            for (unsigned int& value : d.series.back())
                r.be32(value);
        }
        *this = d;
        return true;
    }
};
}
