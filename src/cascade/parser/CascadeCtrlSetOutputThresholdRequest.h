#pragma once
#include <cstdint>

#include "DataConverter.h"
#include "DeviceThresholds.h"
#include "cascade/parser/CascadeCtrlOutletRecords.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// SetOutputThreshold and its Ext twin: per-outlet current limits, four
// 16-bit fields in 0.01 A each (the invalid value as 0xFFFF, "leave it").
// write() sends one record per outlet of the setting (a later entry for the
// same outlet wins) under the mask of those outlets; read() fills one entry
// per set bit 0..kLastOutlet, port = bit, and keeps the mask in receivedMask.
template <typename M>
struct CascadeCtrlSetOutputThresholdRequest
{
    typedef CascadeCtrlOutletRecords<M> Records;

    _DeviceOutputThresholdSetting setting;
    M receivedMask = 0;

    void write(muduo::net::WireWriter& w) const
    {
        const auto records = Records::collect(
            setting.thresholds, [](const _DeviceOutputThreshold& t) { return t.port; }, "set output threshold");
        w.mask(Records::maskOf(records));
        for (const auto& entry : records)
        {
            const _DeviceOutputThreshold& t = *entry.second;
            w.be16(DataConverter::CurrentDoubleToInt(t.warnUpperCurrent))
                .be16(DataConverter::CurrentDoubleToInt(t.warnLowerCurrent))
                .be16(DataConverter::CurrentDoubleToInt(t.offUpperCurrent))
                .be16(DataConverter::CurrentDoubleToInt(t.offLowerCurrent));
        }
    }
    bool read(muduo::net::WireReader& r)
    {
        M mask = 0;
        _DeviceOutputThresholdSetting got;
        auto readOne = [&](int outlet) { return readRecord(r, outlet, got); };
        if (!r.mask(mask) || !Records::readEach(mask, readOne))
            return false;
        setting = got;
        receivedMask = mask;
        return true;
    }

    // One outlet's record, appended to got with port = outlet.
    static bool readRecord(muduo::net::WireReader& r, int outlet, _DeviceOutputThresholdSetting& got)
    {
        uint16_t v[4];
        for (uint16_t& field : v)
            if (!r.be16(field))
                return false;
        _DeviceOutputThreshold t;
        t.port = outlet;
        t.warnUpperCurrent = DataConverter::CurrentIntToDouble(v[0]);
        t.warnLowerCurrent = DataConverter::CurrentIntToDouble(v[1]);
        t.offUpperCurrent = DataConverter::CurrentIntToDouble(v[2]);
        t.offLowerCurrent = DataConverter::CurrentIntToDouble(v[3]);
        got.thresholds.push_back(t);
        return true;
    }
};
}
