#include "cascade/parser/CascadeCtrlSetNetworkRequest.h"

#include "cascade/parser/CascadeCtrlWireFields.h"
#include "muduo/base/Logging.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlSetNetworkRequest::write(muduo::net::WireWriter& w) const
{
    size_t count = setting.networks.size();
    if (count > kMaxInterfaces)
    {
        LOG_WARN << "set network: " << count << " interfaces, only the first " << kMaxInterfaces << " sent";
        count = kMaxInterfaces;
    }
    w.u8(static_cast<uint8_t>((1u << count) - 1));
    for (size_t i = 0; i < count; ++i)
        CascadeCtrlWireFields::writeNetwork(w, setting.networks[i]);
    w.be16(setting.manageControlPort);
}

bool CascadeCtrlSetNetworkRequest::read(muduo::net::WireReader& r)
{
    uint8_t mask = 0;
    _DeviceNetworkSetting got;
    if (!r.u8(mask))
        return false;
    for (size_t bit = 0; bit < kMaxInterfaces; ++bit)
    {
        if (!(mask & (1u << bit)))
            continue;
        _DeviceNetwork network;
        network.index = static_cast<uint8_t>(bit);
        if (!CascadeCtrlWireFields::readNetwork(r, network))
            return false;
        got.networks.push_back(network);
    }
    if (!r.be16(got.manageControlPort))
        return false;
    setting = got;
    receivedMask = mask;
    return true;
}
}
