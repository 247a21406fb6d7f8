#include "web/web_processor/DateTimeSetProcessor.h"

#include "DeviceClock.h"

namespace web
{
int DateTimeSetProcessor::work()
{
    if (!module_.tasks || !module_.recorder)
        return WebModules::missing("set time");
    return DeviceClock(*module_.tasks, *module_.recorder).set(fields_) ? 0 : -1;
}
}
