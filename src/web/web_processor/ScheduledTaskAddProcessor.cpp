#include "web/web_processor/ScheduledTaskAddProcessor.h"

#include "ScheduledTaskOperations.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
int ScheduledTaskAddProcessor::work()
{
    if (!module_)
        return WebModules::missing("add scheduled task");
    return ScheduledTaskOperations(*module_).add(fields_) ? 0 : -1;
}

bool ScheduledTaskAddProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildAddScheduledTaskRetPacket(writer(), response, result, 0,
                                                     static_cast<unsigned int>(fields_.id));
    return true;
}
}
