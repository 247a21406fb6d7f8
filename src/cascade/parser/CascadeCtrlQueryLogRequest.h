#pragma once

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
// QueryLog: event-log rows of one type (0 every type) between two dates.
// Seven bytes, years as year - 2000; read back as signed bytes with 2000
// added to the years.
struct CascadeCtrlQueryLogRequest
{
    int type = 0;
    int startYear = 0;
    int startMonth = 0;
    int startDay = 0;
    int endYear = 0;
    int endMonth = 0;
    int endDay = 0;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
