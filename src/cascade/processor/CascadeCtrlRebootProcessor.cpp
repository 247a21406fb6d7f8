#include "cascade/processor/CascadeCtrlRebootProcessor.h"

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

namespace CascadeCtrl
{
bool CascadeCtrlRebootProcessor::work()
{
    LOG_INFO << "reboot";
    board::runCommand("reboot");
    return true;
}
}
