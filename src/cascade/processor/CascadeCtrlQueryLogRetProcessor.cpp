#include "cascade/processor/CascadeCtrlQueryLogRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryLogRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryLogRetData(data, address(), answer_.logs);
}

// No web request relays it.
void CascadeCtrlQueryLogRetProcessor::buildWebTransferPacket(std::string&) {}
}
