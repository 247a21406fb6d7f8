#pragma once
#include "DeviceThresholds.h"

namespace muduo
{
namespace net
{
class WireReader;
class WireWriter;
}
}

namespace CascadeCtrl
{
// SetInputThreshold: the mask byte of the record, then the pairs it names in
// bit order: bit 0 the warning voltages (0.1 V), bit 1 the warning currents,
// bit 2 the cut-off currents (0.01 A); 0xFFFF is the invalid value.
struct CascadeCtrlSetInputThresholdRequest
{
    _DeviceInputThreshold threshold;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
