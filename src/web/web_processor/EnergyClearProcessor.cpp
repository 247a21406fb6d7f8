#include "web/web_processor/EnergyClearProcessor.h"

#include "EnergyOperations.h"
#include "web/web_parser/WebModules.h"

namespace web
{
int EnergyClearProcessor::work()
{
    if (!module_)
        return WebModules::missing("clear energy");
    return EnergyOperations(*module_).clear() ? 0 : -1;
}
}
