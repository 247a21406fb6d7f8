#pragma once
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/InputThresholdQueryProcessor.h"

namespace web
{
// Code 23: only "addr"; never relayed, a slave is answered from the
// master's records.
class InputThresholdQueryParser final
    : public WebCommandParser<InputThresholdQueryParser, InputThresholdQueryProcessor, WebAnsweredHere>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value&, int addr, int& address)
    {
        address = addr;
        return true;
    }
};
}
