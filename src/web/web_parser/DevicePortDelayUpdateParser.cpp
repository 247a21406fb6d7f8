#include "web/web_parser/DevicePortDelayUpdateParser.h"

#include "DelaySettings.h"
#include "muduo/base/Logging.h"

namespace web
{
bool DevicePortDelayUpdateParser::read(const Value& content, int addr, std::vector<_DevicePortDelay>& delays)
{
    LOG_INFO << " addr:" << addr;
    const Value* list = findArray(content, "delay");
    if (!list)
        return false;
    for (const Value& element : list->GetArray())
    {
        _DevicePortDelay entry;
        if (!readInt(element, "port", entry.port))
            return false;
        LOG_INFO << " port:" << entry.port;
        // A delay that is no integer is not given.
        entry.onDelay = intOr(element, "on", DelaySettings::kUnchanged);
        entry.offDelay = intOr(element, "off", DelaySettings::kUnchanged);
        entry.restartDelay = intOr(element, "restart", DelaySettings::kUnchanged);
        delays.push_back(entry);
    }
    return true;
}
}
