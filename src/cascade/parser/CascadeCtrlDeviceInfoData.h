#pragma once
#include <string>

#include "cascade/parser/CascadeCtrlSetInputThresholdRequest.h"
#include "cascade/parser/CascadeCtrlSetNameRequest.h"
#include "cascade/parser/CascadeCtrlWireFields.h"

namespace CascadeCtrl
{
// What a slave says of itself (QueryDeviceInfo, and its Ext twin with a
// 64-bit name mask): identity text, the name list (mask, then one 16-byte
// name per set bit, the unit's name under the top bit), the inlet limits
// (mask byte and the pairs it selects, as SetInputThreshold carries them)
// and a 10-byte firmware version.
template <typename M>
struct CascadeCtrlDeviceInfoData
{
    static constexpr size_t kFirmwareLength = 10;

    std::string uid;
    CascadeCtrlSetNameRequest<M> names;
    CascadeCtrlSetInputThresholdRequest inputThreshold;
    std::string firmware;

    void write(muduo::net::WireWriter& w) const
    {
        w.text(CascadeCtrlWireFields::kTextLength, uid);
        names.write(w);
        inputThreshold.write(w);
        w.text(kFirmwareLength, firmware);
    }
    bool read(muduo::net::WireReader& r)
    {
        CascadeCtrlDeviceInfoData d;
        if (!r.text(CascadeCtrlWireFields::kTextLength, d.uid) || !d.names.read(r) || !d.inputThreshold.read(r) ||
            !r.text(kFirmwareLength, d.firmware))
            return false;
        *this = d;
        return true;
    }
};
}
