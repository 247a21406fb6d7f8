#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// The master's own poll: QueryDeviceInfo (code 1), relay type 0.
class CascadeCtrlLocalQueryDeviceInfoRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlEmptyRequest,
                                     &CascadeCtrlPacketBuilder::buildGetDeviceInfoData>
{
public:
    CascadeCtrlLocalQueryDeviceInfoRelay() : CascadeCtrlRequestRelay(kCascadeRelayLocal) {}
};
}
