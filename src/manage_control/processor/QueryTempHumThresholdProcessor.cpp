#include "manage_control/processor/QueryTempHumThresholdProcessor.h"

#include "GlobalData.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
void QueryTempHumThresholdProcessor::buildResponseData(int, muduo::net::Buffer& data)
{
    _DeviceTempHumiThreshold threshold = GlobalData::getDevice().tempHumiThreshold;
    threshold.mask = static_cast<uint8_t>(threshold.mask & request().mask);
    MgrCtrlPacketBuilder::buildQueryTempHumiThresholdRetData(data, 0, threshold);
}
}
