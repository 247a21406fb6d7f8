#include "cascade/processor/CascadeCtrlSetTimeProcessor.h"

#include "DeviceClock.h"

namespace CascadeCtrl
{
bool CascadeCtrlSetTimeProcessor::work() { return DeviceClock(*tasks_, *recorder_).set(request.time); }
}
