#pragma once
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
// SetTime: six bytes, year - 2000 first; read back with 2000 added.
struct CascadeCtrlSetTimeRequest
{
    _DeviceDateTime time;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
