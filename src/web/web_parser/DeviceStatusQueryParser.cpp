#include "web/web_parser/DeviceStatusQueryParser.h"

#include "web/web_processor/DeviceStatusQueryProcessor.h"

namespace web
{
int DeviceStatusQueryParser::parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor)
{
    const Value* args = content(request);
    const Value* list = args ? findArray(*args, "query") : nullptr;
    if (!list)
        return kMalformed;
    auto made = std::make_shared<DeviceStatusQueryProcessor>();
    for (const Value& element : list->GetArray())
    {
        if (!element.IsObject())
            return kMalformed;
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
        made->queries.push_back(query);
    }
    processor = made;
    return kLocal;
}
}
