#include "manage_control/processor/QueryInputThresholdProcessor.h"

#include "GlobalData.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlUnits.h"
#include "muduo/base/Logging.h"

namespace MgrCtrl
{
void QueryInputThresholdProcessor::buildResponseData(int, muduo::net::Buffer& data)
{
    LOG_INFO << "input threshold mask:" << muduo::Fmt("0x%02X", static_cast<unsigned int>(request().mask));
    if (!MgrCtrlUnits::fromSlaveRecords(address()))
    {
        const unsigned char mask = static_cast<unsigned char>(request().mask & 0x03);
        MgrCtrlPacketBuilder::buildQueryInputThresholdRetData(data, address(), mask,
                                                              GlobalData::getDevice().inputThreshold);
        return;
    }
    const _SlaveDevice* slave = MgrCtrlUnits::findSlave(address());
    const _DeviceInputThreshold none;
    const _DeviceInputThreshold& threshold = slave ? slave->inputThreshold : none;
    MgrCtrlPacketBuilder::buildQueryInputThresholdRetData(data, address(), threshold.mask, threshold);
}
}
