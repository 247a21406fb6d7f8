#include "cascade/processor/CascadeCtrlMasterProcessor.h"

#include "cascade/processor/CascadeCtrlRelay.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace CascadeCtrl
{
void CascadeCtrlMasterProcessor::process(const std::shared_ptr<CascadeCtrlRelay>& relay)
{
    if (!relay)
        return;
    if (relay->type() == kCascadeRelayMgrCtrl)
    {
        muduo::net::Buffer data, frame(1024);
        buildMgrCtrlDataPacket(data);
        MgrCtrl::MgrCtrlPacketBuilder::buildRetPacket(frame, relay->checksumFlag(), data);
        LOG_INFO << "mgrctrl ret packet";
        LOG_HEX_INFO(frame.peek(), static_cast<int>(frame.readableBytes())) << "frame";
        relay->sendLocal(frame.peek(), static_cast<unsigned int>(frame.readableBytes()));
        work();
    }
    else if (relay->type() == kCascadeRelayWeb)
    {
        std::string text;
        buildWebTransferPacket(text);
        LOG_INFO << "web ret packet:" << text;
        // No web request relays this command: an empty datagram helps no one.
        if (!text.empty())
            relay->sendLocal(text.data(), static_cast<unsigned int>(text.size()));
        work();
    }
}
}
