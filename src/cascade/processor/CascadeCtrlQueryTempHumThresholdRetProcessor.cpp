#include "cascade/processor/CascadeCtrlQueryTempHumThresholdRetProcessor.h"

#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace CascadeCtrl
{
void CascadeCtrlQueryTempHumThresholdRetProcessor::buildMgrCtrlDataPacket(muduo::net::Buffer& data)
{
    const _DeviceTempHumiThreshold& t = answer_.threshold;
    MgrCtrl::MgrCtrlPacketBuilder::buildQueryTempHumiThresholdRetData(data, address(), t);
    LOG_INFO << "mask:" << muduo::Fmt("0x%02X", static_cast<unsigned int>(t.mask)) << " temp:" << t.warnUpperTemp
             << "/" << t.warnLowerTemp << " humi:" << t.warnUpperHumi << "/" << t.warnLowerHumi;
}

void CascadeCtrlQueryTempHumThresholdRetProcessor::buildWebTransferPacket(std::string& text)
{
    web::WebPacketBuilder::buildQueryTempHumiThresholdRetPacket(json_, text, 0, address(), answer_.threshold);
}
}
