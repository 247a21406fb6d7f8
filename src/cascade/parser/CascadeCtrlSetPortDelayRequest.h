#pragma once
#include <cstdint>
#include <vector>

#include "DataConverter.h"
#include "DeviceThresholds.h"
#include "cascade/parser/CascadeCtrlOutletRecords.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// SetPortDelay and its Ext twin: on, off and restart delay per outlet, the
// low 16 bits of each (-1, "leave it", as 0xFFFF). write() sends one record
// per outlet of the list (a later entry for the same outlet wins) under the
// mask of those outlets; read() fills one entry per set bit 0..kLastOutlet,
// port = bit, and keeps the mask in receivedMask.
template <typename M>
struct CascadeCtrlSetPortDelayRequest
{
    typedef CascadeCtrlOutletRecords<M> Records;

    std::vector<_DevicePortDelay> delays;
    M receivedMask = 0;

    void write(muduo::net::WireWriter& w) const
    {
        const auto records =
            Records::collect(delays, [](const _DevicePortDelay& d) { return d.port; }, "set port delay");
        w.mask(Records::maskOf(records));
        for (const auto& entry : records)
            w.be16(static_cast<uint16_t>(entry.second->onDelay))
                .be16(static_cast<uint16_t>(entry.second->offDelay))
                .be16(static_cast<uint16_t>(entry.second->restartDelay));
    }
    bool read(muduo::net::WireReader& r)
    {
        M mask = 0;
        std::vector<_DevicePortDelay> got;
        auto readOne = [&](int outlet) {
            uint16_t on = 0, off = 0, restart = 0;
            if (!r.be16(on) || !r.be16(off) || !r.be16(restart))
                return false;
            _DevicePortDelay d;
            d.port = outlet;
            d.onDelay = DataConverter::DelayNetToLocal(on);
            d.offDelay = DataConverter::DelayNetToLocal(off);
            d.restartDelay = DataConverter::DelayNetToLocal(restart);
            got.push_back(d);
            return true;
        };
        if (!r.mask(mask) || !Records::readEach(mask, readOne))
            return false;
        delays.swap(got);
        receivedMask = mask;
        return true;
    }
};
}
