#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// The master's own poll: QueryDeviceStatus (code 7), relay type 0.
class CascadeCtrlLocalQueryDeviceStatusRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryDeviceStatusRequest<uint32_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryDeviceStatusData>
{
public:
    CascadeCtrlLocalQueryDeviceStatusRelay() : CascadeCtrlRequestRelay(kCascadeRelayLocal) {}
};
}
