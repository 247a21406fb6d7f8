#pragma once
#include <cstdint>

#include "cascade/parser/CascadeCtrlSetOutputThresholdRequest.h"

namespace MgrCtrl
{
// SetOutputThreshold (49): a 32-bit mask and one record of four currents
// per outlet. For this unit a record follows only the set bits of the
// outlets it has (a bit beyond them announces nothing); for a slave one
// follows every set bit 0 to 30, as the slave reads the relayed request.
struct MgrCtrlSetOutputThresholdRequest : CascadeCtrl::CascadeCtrlSetOutputThresholdRequest<uint32_t>
{
    bool read(muduo::net::WireReader& r, uint8_t address);
};
}
