#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

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
// Every outlet's current limits (QueryOutputThreshold): a count byte, then
// per outlet 0, 1, ... the warning upper and lower and the cut-off upper
// and lower current, 16 bits each in 0.01 A (the invalid value as 0xFFFF).
// No status byte. Entries are written in list order (their port is not
// sent) and read back with port = position; at most 255.
struct CascadeCtrlOutputThresholdListData
{
    static constexpr size_t kMaxEntries = 255;

    std::vector<_DeviceOutputThreshold> thresholds;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
