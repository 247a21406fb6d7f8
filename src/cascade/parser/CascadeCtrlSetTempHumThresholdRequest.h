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
// SetTempHumThreshold: the mask byte, then bit 0 the temperature pair, bit 1
// the humidity pair, each limit signed 16 bits in 0.1 units
// (CascadeCtrlWireFields::limitToWire: the invalid value as -32768).
struct CascadeCtrlSetTempHumThresholdRequest
{
    _DeviceTempHumiThreshold threshold;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
