#pragma once
#include <map>

#include "DeviceRecords.h"
#include "cascade/parser/CascadeCtrlOutletRecords.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// SetPing and SetPingExt: watchdog settings by outlet (the map's key is the
// outlet; the record's own port is not sent). write() sends one 8-byte
// record per key under the mask of the keys; read() fills one setting per
// set bit 0..kLastOutlet, port = bit, and keeps the mask in receivedMask.
template <typename M>
struct CascadeCtrlSetPingRequest
{
    typedef CascadeCtrlOutletRecords<M> Records;

    std::map<int, PingSetting> settings;
    M receivedMask = 0;

    void write(muduo::net::WireWriter& w) const
    {
        const auto records = Records::collect(settings, "set ping");
        w.mask(Records::maskOf(records));
        for (const auto& entry : records)
            CascadeCtrlWireFields::writePing(w, *entry.second);
    }
    bool read(muduo::net::WireReader& r)
    {
        M mask = 0;
        std::map<int, PingSetting> got;
        auto readOne = [&](int outlet) {
            PingSetting& s = got[outlet];
            s.port = outlet;
            return CascadeCtrlWireFields::readPing(r, s);
        };
        if (!r.mask(mask) || !Records::readEach(mask, readOne))
            return false;
        settings.swap(got);
        receivedMask = mask;
        return true;
    }
};
}
