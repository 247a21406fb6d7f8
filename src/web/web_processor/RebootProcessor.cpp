#include "web/web_processor/RebootProcessor.h"

#include "platform/core/BoardRoot.h"

namespace web
{
int RebootProcessor::work()
{
    board::runCommand("reboot");
    return 0;
}
}
