#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "DeviceRecords.h"

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
// Event-log rows (QueryLog): a 16-bit count, then per row its 32-bit id,
// year - 2000, month, day, hour, minute, second, type, port (255 for none)
// and description code, one byte each. No status byte: a log that cannot
// be read is an empty list. A list longer than the count can say is cut.
struct CascadeCtrlLogListData
{
    static constexpr size_t kMaxRows = 0xFFFF;
    static constexpr uint8_t kNoPort = 0xFF;

    std::vector<_SystemLogItem> logs;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
