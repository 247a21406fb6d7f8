#pragma once
#include <cstdint>

#include "cascade/parser/CascadeCtrlSetNetworkRequest.h"

namespace MgrCtrl
{
// SetNetwork (45): the cascade layout, with the DHCP and redirect bytes
// read as flags: set for 1 to 127 (positive as signed bytes), clear for 0
// and 128 to 255. The mask as received stays in receivedMask; a relay
// announces its records as interfaces 0 to n-1.
struct MgrCtrlSetNetworkRequest : CascadeCtrl::CascadeCtrlSetNetworkRequest
{
    bool read(muduo::net::WireReader& r)
    {
        if (!CascadeCtrlSetNetworkRequest::read(r))
            return false;
        for (_DeviceNetwork& network : setting.networks)
        {
            network.dhcp = flag(network.dhcp);
            network.enableRedirect = flag(network.enableRedirect);
        }
        return true;
    }

private:
    static uint8_t flag(uint8_t byte) { return static_cast<int8_t>(byte) > 0 ? 1 : 0; }
};
}
