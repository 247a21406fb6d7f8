#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// The master's own poll: QueryDeviceStatusExt (code 35), relay type 0.
class CascadeCtrlLocalQueryDeviceStatusExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryDeviceStatusRequest<uint64_t>,
                                     &CascadeCtrlPacketBuilder::buildQueryDeviceStatusExtData>
{
public:
    CascadeCtrlLocalQueryDeviceStatusExtRelay() : CascadeCtrlRequestRelay(kCascadeRelayLocal) {}
};
}
