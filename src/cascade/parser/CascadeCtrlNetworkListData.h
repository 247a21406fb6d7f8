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
// A slave's IP settings (QueryNetwork): the number of 40-byte interface
// records, the records, the manage-control port. A list longer than the
// count byte can say is cut to 255 records.
struct CascadeCtrlNetworkListData
{
    static constexpr size_t kMaxRecords = 255;

    _DeviceNetworkSetting setting;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
