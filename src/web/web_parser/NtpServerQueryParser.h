#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/NtpServerQueryProcessor.h"

namespace web
{
// Code 39: "addr" is checked, not used: the servers are this unit's.
class NtpServerQueryParser final
    : public WebCommandParser<NtpServerQueryParser, NtpServerQueryProcessor, WebAnsweredHere>
{
public:
    using WebCommandParser::WebCommandParser;
};
}
