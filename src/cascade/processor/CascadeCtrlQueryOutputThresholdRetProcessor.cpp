#include "cascade/processor/CascadeCtrlQueryOutputThresholdRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryOutputThresholdRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    _DeviceOutputThresholdSetting setting;
    setting.thresholds = answer_.thresholds;
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryOutputThresholdRetData(data, address(), setting);
}

void CascadeCtrlQueryOutputThresholdRetProcessor::buildWebTransferPacket(std::string& text)
{
    const auto& list = answer_.thresholds;
    web::WebPacketBuilder::buildQueryOutputThresholdRetPacket(json_, text, 0, address(), list.data(),
                                                              static_cast<int>(list.size()));
}
}
