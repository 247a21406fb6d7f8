#include "cascade/processor/CascadeCtrlQueryInputThresholdRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryInputThresholdRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    const _DeviceInputThreshold& t = answer_.threshold;
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryInputThresholdRetData(data, address(), t.mask, t);
    LOG_INFO << "mask:" << muduo::Fmt("0x%02X", static_cast<unsigned int>(t.mask)) << " voltage:" << t.warnUpperVoltage
             << "/" << t.warnLowerVoltage << " current:" << t.warnUpperCurrent << "/" << t.warnLowerCurrent;
}

void CascadeCtrlQueryInputThresholdRetProcessor::buildWebTransferPacket(std::string& text)
{
    web::WebPacketBuilder::buildQueryInputThresholdRetPacket(json_, text, 0, address(), answer_.threshold);
}
}
