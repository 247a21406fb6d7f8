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
// Every outlet's delays (QueryPortDelay): a count byte, then per outlet
// 0, 1, ... on, off and restart delay, the low 16 bits of each (-1 as
// 0xFFFF). No status byte. Entries are written in list order (their port
// is not sent) and read back with port = position; at most 255.
struct CascadeCtrlPortDelayListData
{
    static constexpr size_t kMaxEntries = 255;

    std::vector<_DevicePortDelay> delays;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
