#include "cascade/parser/CascadeCtrlNetworkListData.h"

#include <algorithm>
#include <cstdint>

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlNetworkListData::write(muduo::net::WireWriter& w) const
{
    const size_t count = std::min(setting.networks.size(), kMaxRecords);
    w.u8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i)
        CascadeCtrlWireFields::writeNetwork(w, setting.networks[i]);
    w.be16(setting.manageControlPort);
}

bool CascadeCtrlNetworkListData::read(muduo::net::WireReader& r)
{
    uint8_t count = 0;
    _DeviceNetworkSetting got;
    if (!r.u8(count) || r.remaining() < size_t(count) * CascadeCtrlWireFields::kNetworkRecordLength)
        return false;
    got.networks.resize(count);
    for (uint8_t i = 0; i < count; ++i)
    {
        got.networks[i].index = i;
        if (!CascadeCtrlWireFields::readNetwork(r, got.networks[i]))
            return false;
    }
    if (!r.be16(got.manageControlPort))
        return false;
    setting = got;
    return true;
}
}
