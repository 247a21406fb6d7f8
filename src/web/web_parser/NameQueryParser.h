#pragma once
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/NameQueryProcessor.h"

namespace web
{
// Code 31: "device" (true to include the unit's name) and "ports" (outlet
// numbers, none negative); never relayed, a slave is answered from the
// master's records.
class NameQueryParser final : public WebAddressedParser<NameQueryParser, NameQueryProcessor>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, NameQueryProcessor& processor);
};
}
