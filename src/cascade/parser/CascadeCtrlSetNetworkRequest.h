#pragma once
#include <cstddef>
#include <cstdint>

#include "DeviceNetwork.h"

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
// SetNetwork: an interface mask, one 40-byte record per set bit 0..7 and the
// manage-control port. write() sends the first eight records under the
// mask of their count (bits 0..n-1); read() gives each record the number of
// the bit that announced it and keeps the mask in receivedMask.
struct CascadeCtrlSetNetworkRequest
{
    static constexpr size_t kMaxInterfaces = 8;

    _DeviceNetworkSetting setting;
    uint8_t receivedMask = 0;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
