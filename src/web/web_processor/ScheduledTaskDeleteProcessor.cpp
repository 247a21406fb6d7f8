#include "web/web_processor/ScheduledTaskDeleteProcessor.h"

#include "ScheduledTaskOperations.h"
#include "web/web_parser/WebModules.h"

namespace web
{
int ScheduledTaskDeleteProcessor::work()
{
    if (!module_)
        return WebModules::missing("delete scheduled task");
    return ScheduledTaskOperations(*module_).remove(fields_) ? 0 : -1;
}
}
