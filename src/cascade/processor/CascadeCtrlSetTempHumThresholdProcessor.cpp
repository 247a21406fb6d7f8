#include "cascade/processor/CascadeCtrlSetTempHumThresholdProcessor.h"

#include "UnitThresholdSettings.h"

namespace CascadeCtrl
{
bool CascadeCtrlSetTempHumThresholdProcessor::work()
{
    if (!UnitThresholdSettings::setTempHumi(request.threshold))
        return false;
    answer_.data.mask = request.threshold.mask;
    return true;
}
}
