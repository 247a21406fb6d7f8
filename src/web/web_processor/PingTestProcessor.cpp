#include "web/web_processor/PingTestProcessor.h"

#include "PingOperations.h"
#include "web/web_parser/WebModules.h"

namespace web
{
int PingTestProcessor::work()
{
    if (!module_)
        return WebModules::missing("test ping");
    return PingOperations(*module_).test(fields_.port, fields_.host) ? 0 : -1;
}
}
