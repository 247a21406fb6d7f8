#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/DeviceStatusQueryProcessor.h"

namespace web
{
// Code 3: "query", a list of units asked for, each with its own "addr" and
// what of it is wanted. Never relayed.
class DeviceStatusQueryParser final : public WebCommandParser<DeviceStatusQueryParser, DeviceStatusQueryProcessor>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, std::vector<_DeviceStatusQuery>& queries);
};
}
