#include "cascade/processor/CascadeCtrlSetInputThresholdRetProcessor.h"

#include "GlobalData.h"
#include "cascade/processor/CascadeCtrlSlaveRecords.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
void CascadeCtrlSetInputThresholdRetProcessor::work()
{
    LOG_INFO << "addr:" << address();
    _SlaveDevice* slave = CascadeCtrlSlaveRecords::find(address());
    if (result() != 0 || !slave)
        return;
    // A change of some pairs leaves the others: the pairs answered replace
    // their cached values and the masks join.
    const _DeviceInputThreshold& got = answer_.data.threshold;
    _DeviceInputThreshold& cached = slave->inputThreshold;
    if (got.mask & 0x01)
    {
        cached.warnUpperVoltage = got.warnUpperVoltage;
        cached.warnLowerVoltage = got.warnLowerVoltage;
    }
    if (got.mask & 0x02)
    {
        cached.warnUpperCurrent = got.warnUpperCurrent;
        cached.warnLowerCurrent = got.warnLowerCurrent;
    }
    if (got.mask & 0x04)
    {
        cached.offUpperCurrent = got.offUpperCurrent;
        cached.offLowerCurrent = got.offLowerCurrent;
    }
    cached.mask = static_cast<uint8_t>(cached.mask | got.mask);
    LOG_INFO << "input mask:" << muduo::Fmt("0x%02X", static_cast<unsigned int>(cached.mask));
}
}
