#include "cascade/processor/CascadeCtrlSetInputThresholdProcessor.h"

#include "UnitThresholdSettings.h"

namespace CascadeCtrl
{
bool CascadeCtrlSetInputThresholdProcessor::work()
{
    if (!UnitThresholdSettings::setInput(request.threshold))
        return false;
    answer_.data.threshold = request.threshold;
    answer_.data.threshold.mask = static_cast<uint8_t>(request.threshold.mask & ~0x04);
    return true;
}
}
