#pragma once
#include "cascade/parser/CascadeCtrlSetTempHumThresholdRequest.h"

namespace MgrCtrl
{
// SetTempHumThreshold (53): the mask byte, then bit 0 the temperature pair
// (signed, 0.1 degree), bit 1 the humidity pair (unsigned, 0.1 %; 0x8000
// is the invalid value). The cascade twin carries humidities signed.
struct MgrCtrlSetTempHumThresholdRequest : CascadeCtrl::CascadeCtrlSetTempHumThresholdRequest
{
    bool read(muduo::net::WireReader& r);
};
}
