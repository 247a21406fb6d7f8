#include "manage_control/processor/SetInputThresholdProcessor.h"

#include "UnitThresholdSettings.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
int SetInputThresholdProcessor::work() { return UnitThresholdSettings::setInput(request().threshold) ? 0 : 1; }

void SetInputThresholdProcessor::buildResponseData(int result, muduo::net::Buffer& data)
{
    const unsigned char mask = static_cast<unsigned char>(request().threshold.mask & 0x03);
    MgrCtrlPacketBuilder::buildSetInputThresholdRetData(data, 0, result, mask);
}
}
