#pragma once
#include <cstddef>
#include <vector>

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
// DeleteScheduledTask: a 16-bit count, then the task ids. A list longer
// than the count can say is cut (with a log line) rather than let the count
// wrap and disagree with the ids that follow.
struct CascadeCtrlDeleteScheduledTaskRequest
{
    static constexpr size_t kMaxIds = 0xFFFF;

    std::vector<unsigned int> ids;

    void write(muduo::net::WireWriter& w) const;
    bool read(muduo::net::WireReader& r);
};
}
