#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// The master's own poll: QueryDeviceInfoExt (code 31), relay type 0.
class CascadeCtrlLocalQueryDeviceInfoExtRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlEmptyRequest,
                                     &CascadeCtrlPacketBuilder::buildGetDeviceInfoExtData>
{
public:
    CascadeCtrlLocalQueryDeviceInfoExtRelay() : CascadeCtrlRequestRelay(kCascadeRelayLocal) {}
};
}
