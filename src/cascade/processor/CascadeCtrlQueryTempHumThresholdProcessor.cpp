#include "cascade/processor/CascadeCtrlQueryTempHumThresholdProcessor.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryTempHumThresholdProcessor::work()
{
    answer_.threshold = GlobalData::getDevice().tempHumiThreshold;
    answer_.threshold.mask = request.mask;
    return true;
}
}
