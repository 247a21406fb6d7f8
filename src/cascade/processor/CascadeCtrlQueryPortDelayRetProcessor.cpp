#include "cascade/processor/CascadeCtrlQueryPortDelayRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryPortDelayRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    for (const _DevicePortDelay& d : answer_.delays)
        LOG_INFO << "port:" << d.port << " on delay:" << d.onDelay << " off delay:" << d.offDelay
                 << " restart delay:" << d.restartDelay;
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryPortDelayRetData(data, address(), answer_.delays);
}

void CascadeCtrlQueryPortDelayRetProcessor::buildWebTransferPacket(std::string& text)
{
    const auto& list = answer_.delays;
    web::WebPacketBuilder::buildQueryPortDelayRetPacket(json_, text, 0, address(), list.data(),
                                                        static_cast<int>(list.size()));
}
}
