#pragma once
#include <map>
#include <string>

#include "cascade/parser/CascadeCtrlOutletRecords.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// SetName and SetNameExt: new names by outlet, kDeviceName (-1) for the
// unit's own name. On the wire a mask (bit n outlet n, the top bit the unit
// name) and one 16-byte field per set bit, outlets ascending, the unit name
// last. write() derives the mask from the names (outlets beyond
// kLastOutlet are dropped with a log line); read() keeps the mask it found
// in receivedMask.
template <typename M>
struct CascadeCtrlSetNameRequest
{
    typedef CascadeCtrlOutletRecords<M> Records;
    static constexpr int kDeviceName = -1;

    std::map<int, std::string> names;
    M receivedMask = 0;

    void write(muduo::net::WireWriter& w) const
    {
        std::map<int, std::string> outlets(names);
        auto device = outlets.find(kDeviceName);
        const bool hasDevice = device != outlets.end();
        if (hasDevice)
            outlets.erase(device);
        const auto records = Records::collect(outlets, "set name");
        w.mask(static_cast<M>(Records::maskOf(records) | (hasDevice ? Records::Traits::kTopBit : M(0))));
        for (const auto& entry : records)
            w.text(CascadeCtrlWireFields::kTextLength, *entry.second);
        if (hasDevice)
            w.text(CascadeCtrlWireFields::kTextLength, names.at(kDeviceName));
    }
    bool read(muduo::net::WireReader& r)
    {
        M mask = 0;
        std::map<int, std::string> got;
        auto readName = [&](int key) { return r.text(CascadeCtrlWireFields::kTextLength, got[key]); };
        if (!r.mask(mask) || !Records::readEach(mask, readName))
            return false;
        if ((mask & Records::Traits::kTopBit) && !readName(kDeviceName))
            return false;
        names.swap(got);
        receivedMask = mask;
        return true;
    }
};
}
