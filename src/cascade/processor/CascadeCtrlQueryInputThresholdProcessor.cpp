#include "cascade/processor/CascadeCtrlQueryInputThresholdProcessor.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryInputThresholdProcessor::work()
{
    answer_.threshold = GlobalData::getDevice().inputThreshold;
    answer_.threshold.mask = static_cast<uint8_t>(request.mask & ~0x04);
    return true;
}
}
