#include "cascade/processor/CascadeCtrlQueryTimeRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryTimeRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    const _DeviceDateTime& t = answer_.data.time;
    LOG_INFO << "time:" << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":"
             << t.second;
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryTimeRetData(data, address(), result(), t);
}

// No web request relays it.
void CascadeCtrlQueryTimeRetProcessor::buildWebTransferPacket(std::string&) {}
}
