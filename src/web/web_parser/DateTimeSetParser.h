#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/DateTimeSetProcessor.h"

namespace web
{
// Code 12: "time" with its six integers; never relayed, "addr" is not read.
class DateTimeSetParser final : public WebCommandParser<DateTimeSetParser, DateTimeSetProcessor>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _DeviceDateTime& time) { return readDateTime(content, "time", time); }
};
}
