#include "web/web_parser/TempHumiThresholdUpdateParser.h"

namespace web
{
bool TempHumiThresholdUpdateParser::read(const Value& content, int, _DeviceTempHumiThreshold& t)
{
    const Value* limits = findObject(content, "threshold");
    if (!limits)
        return false;
    const bool temp = readLimitPair(*limits, "warn_upper_temp", "warn_lower_temp", t.warnUpperTemp, t.warnLowerTemp);
    const bool humi = readLimitPair(*limits, "warn_upper_humi", "warn_lower_humi", t.warnUpperHumi, t.warnLowerHumi);
    t.mask = static_cast<uint8_t>((temp ? 0x01 : 0) | (humi ? 0x02 : 0));
    return true;
}
}
