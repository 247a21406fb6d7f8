#include "cascade/processor/CascadeCtrlQueryTimeProcessor.h"

#include "DeviceClock.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryTimeProcessor::work()
{
    answer_.data.time = DeviceClock::now();
    return true;
}
}
