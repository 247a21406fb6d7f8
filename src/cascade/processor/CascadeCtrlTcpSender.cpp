#include "cascade/processor/CascadeCtrlTcpSender.h"

#include <climits>

#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
void CascadeCtrlTcpSender::sendLocal(const void* data, unsigned int length)
{
    if (length > static_cast<unsigned int>(INT_MAX))
    {
        LOG_WARN << "answer of " << length << " bytes for " << connection_->name() << " dropped: too long";
        return;
    }
    connection_->send(data, static_cast<int>(length));
}
}
