#include "manage_control/processor/RebootProcessor.h"

#include "platform/core/BoardRoot.h"

namespace MgrCtrl
{
int RebootProcessor::work()
{
    board::runCommand("reboot");
    return 0;
}
}
