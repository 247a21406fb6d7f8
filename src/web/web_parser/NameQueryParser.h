#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/NameQueryProcessor.h"

namespace web
{
// Code 31: "device" (true to include the unit's name) and "ports" (outlet
// numbers, none negative); never relayed, a slave is answered from the
// master's records.
class NameQueryParser final : public WebCommandParser<NameQueryParser, NameQueryProcessor, WebAnsweredHere>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int addr, _NameQuery& query);
};
}
