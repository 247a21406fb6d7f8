#include "web/web_parser/OutputThresholdUpdateParser.h"

#include "muduo/base/Logging.h"

namespace web
{
bool OutputThresholdUpdateParser::read(const Value& content, int, _DeviceOutputThresholdSetting& setting)
{
    const Value* list = findArray(content, "threshold");
    if (!list)
        return false;
    for (const Value& element : list->GetArray())
    {
        _DeviceOutputThreshold entry;
        if (!readInt(element, "port", entry.port))
            return false;
        LOG_INFO << " port:" << entry.port;
        entry.warnUpperCurrent = limitOr(element, "warn_upper_current");
        entry.warnLowerCurrent = limitOr(element, "warn_lower_current");
        entry.offUpperCurrent = limitOr(element, "off_upper_current");
        entry.offLowerCurrent = limitOr(element, "off_lower_current");
        setting.thresholds.push_back(entry);
    }
    return true;
}
}
