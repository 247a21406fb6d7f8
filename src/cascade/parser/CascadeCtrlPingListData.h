#pragma once
#include <map>

#include "DeviceRecords.h"
#include "cascade/parser/CascadeCtrlOutletRecords.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// Watchdog settings (QueryPing, and its Ext twin): a mask, then one 8-byte
// record per set bit 0..kLastOutlet (the top bit is no outlet and carries
// no record). The outlet bits written are those of the settings; the top
// bit travels as mask holds it. read() keeps the whole mask it found.
template <typename M>
struct CascadeCtrlPingListData
{
    typedef CascadeCtrlOutletRecords<M> Records;

    M mask = 0;
    std::map<int, PingSetting> settings;

    void write(muduo::net::WireWriter& w) const
    {
        const auto records = Records::collect(settings, "ping list");
        w.mask(static_cast<M>((mask & Records::Traits::kTopBit) | Records::maskOf(records)));
        for (const auto& entry : records)
            CascadeCtrlWireFields::writePing(w, *entry.second);
    }
    bool read(muduo::net::WireReader& r)
    {
        M m = 0;
        std::map<int, PingSetting> got;
        auto readOne = [&](int outlet) {
            PingSetting& s = got[outlet];
            s.port = outlet;
            return CascadeCtrlWireFields::readPing(r, s);
        };
        if (!r.mask(m) || !Records::readEach(m, readOne))
            return false;
        mask = m;
        settings.swap(got);
        return true;
    }
};
}
