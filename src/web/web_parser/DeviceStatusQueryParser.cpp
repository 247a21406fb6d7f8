#include "web/web_parser/DeviceStatusQueryParser.h"

namespace web
{
bool DeviceStatusQueryParser::read(const Value& content, int, std::vector<_DeviceStatusQuery>& queries)
{
    const Value* list = findArray(content, "query");
    if (!list)
        return false;
    for (const Value& element : list->GetArray())
    {
        if (!element.IsObject())
            return false;
        _DeviceStatusQuery query;
        query.address = intOr(element, "addr", 0);
        query.onOff = isTrue(element, "on_off");
        query.tempHum = isTrue(element, "temp_hum");
        query.input = isTrue(element, "input");
        uint32_t low = 0, high = 0;
        // Outlets from 32 on count only beside a valid "output".
        if (readUint(element, "output", low))
            readUint(element, "output_high", high);
        query.outputMask = uint64_t(high) << 32 | low;
        queries.push_back(query);
    }
    return true;
}
}
