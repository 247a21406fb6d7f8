#include "cascade/processor/CascadeCtrlSlaveProcessor.h"

#include "muduo/net/Buffer.h"

namespace CascadeCtrl
{
void CascadeCtrlSlaveProcessor::process(muduo::net::Buffer& out, int sequence)
{
    const bool ok = work();
    muduo::net::Buffer payload;
    buildResponseData(ok, payload);
    builder_.buildPacket(out, address(), sequence, payload);
}
}
