#include "web/web_processor/ScheduledTaskQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
int ScheduledTaskQueryProcessor::work()
{
    tasks_.clear();
    const _DeviceDateTime& s = fields_.start;
    const _DeviceDateTime& e = fields_.end;
    return GlobalData::loadScheduledTaskFromDb(tasks_, s.year, s.month, s.day, s.hour, s.minute, s.second, e.year,
                                               e.month, e.day, e.hour, e.minute, e.second)
               ? 0
               : -1;
}

bool ScheduledTaskQueryProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildQueryScheduledTaskRetPacket(writer(), response, result, 0, tasks_);
    return true;
}
}
