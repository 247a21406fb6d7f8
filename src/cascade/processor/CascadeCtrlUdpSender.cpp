#include "cascade/processor/CascadeCtrlUdpSender.h"

#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
namespace
{
// The largest payload of one IPv4 UDP datagram.
const unsigned int kMaxDatagram = 65507;
}

void CascadeCtrlUdpSender::sendLocal(const void* data, unsigned int length)
{
    if (length > kMaxDatagram)
    {
        LOG_WARN << "answer of " << length << " bytes for " << peer_.toIpPort() << " dropped: too long for a datagram";
        return;
    }
    tranceiver_->send(peer_, data, static_cast<int>(length));
}
}
