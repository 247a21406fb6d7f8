#include "web/web_parser/InputThresholdUpdateParser.h"

namespace web
{
bool InputThresholdUpdateParser::read(const Value& content, int, _DeviceInputThreshold& t)
{
    const Value* limits = findObject(content, "threshold");
    if (!limits)
        return false;
    const bool current = readLimitPair(*limits, "warn_upper_current", "warn_lower_current", t.warnUpperCurrent,
                                       t.warnLowerCurrent);
    const bool voltage = readLimitPair(*limits, "warn_upper_voltage", "warn_lower_voltage", t.warnUpperVoltage,
                                       t.warnLowerVoltage);
    const bool cutOff =
        readLimitPair(*limits, "off_upper_current", "off_lower_current", t.offUpperCurrent, t.offLowerCurrent);
    t.mask = static_cast<uint8_t>((voltage ? 0x01 : 0) | (current ? 0x02 : 0) | (cutOff ? 0x04 : 0));
    return true;
}
}
