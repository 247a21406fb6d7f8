#include "web/web_processor/PingSetProcessor.h"

#include "PingOperations.h"
#include "web/web_parser/WebModules.h"

namespace web
{
int PingSetProcessor::work()
{
    if (!module_)
        return WebModules::missing("set ping");
    return PingOperations(*module_).apply(fields_) ? 0 : -1;
}
}
