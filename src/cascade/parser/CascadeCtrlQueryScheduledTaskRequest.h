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
// QueryScheduledTask and its Ext twin: the tasks due between two moments.
// Every field is -1 (not given) until set; a negative year travels as 0xFF,
// any other field as its low 8 bits. Read back as signed bytes, years with
// 2000 added (so 0xFF gives 1999 for a year and -1 for the other fields).
struct CascadeCtrlQueryScheduledTaskRequest
{
    CascadeCtrlQueryScheduledTaskRequest();

    _DeviceDateTime start;
    _DeviceDateTime end;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
