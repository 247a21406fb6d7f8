#include "cascade/processor/CascadeCtrlQueryNetworkRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryNetworkRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryNetworkRetData(data, address(), result(), answer_.data.setting);
}

// No web request relays it.
void CascadeCtrlQueryNetworkRetProcessor::buildWebTransferPacket(std::string&) {}
}
