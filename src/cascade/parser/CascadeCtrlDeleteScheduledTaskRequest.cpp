#include "cascade/parser/CascadeCtrlDeleteScheduledTaskRequest.h"

#include <cstdint>

#include "muduo/base/Logging.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
void CascadeCtrlDeleteScheduledTaskRequest::write(muduo::net::WireWriter& w) const
{
    size_t count = ids.size();
    if (count > kMaxIds)
    {
        LOG_WARN << "delete scheduled task: " << count << " ids, only the first " << kMaxIds << " sent";
        count = kMaxIds;
    }
    w.be16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        w.be32(ids[i]);
}

bool CascadeCtrlDeleteScheduledTaskRequest::read(muduo::net::WireReader& r)
{
    uint16_t count = 0;
    if (!r.be16(count) || r.remaining() < size_t(count) * 4)
        return false;
    ids.assign(count, 0);
    for (unsigned int& id : ids)
        r.be32(id);
    return true;
}
}
