#include "manage_control/processor/SetTimeProcessor.h"

#include "DeviceClock.h"

namespace MgrCtrl
{
int SetTimeProcessor::work() { return DeviceClock(*tasks_, *recorder_).set(request().time) ? 0 : 1; }
}
