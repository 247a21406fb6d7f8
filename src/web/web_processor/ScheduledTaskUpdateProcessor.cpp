#include "web/web_processor/ScheduledTaskUpdateProcessor.h"

#include "ScheduledTaskOperations.h"
#include "web/web_parser/WebModules.h"

namespace web
{
int ScheduledTaskUpdateProcessor::work()
{
    if (!module_)
        return WebModules::missing("update scheduled task");
    return ScheduledTaskOperations(*module_).update(fields_) ? 0 : -1;
}
}
