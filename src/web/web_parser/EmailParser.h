#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/EmailProcessor.h"

namespace web
{
// Code 16: the six mail fields, all required; "addr" is not read.
class EmailParser final : public WebCommandParser<EmailParser, EmailProcessor>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _TestEmail& mail);
};
}
