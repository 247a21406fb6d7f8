#pragma once
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/InputThresholdQueryProcessor.h"

namespace web
{
// Code 23: only "addr"; never relayed, a slave is answered from the
// master's records.
class InputThresholdQueryParser final : public WebAddressedParser<InputThresholdQueryParser, InputThresholdQueryProcessor>
{
private:
    friend WebAddressedParser;
    static bool read(const Value&, int addr, InputThresholdQueryProcessor& processor)
    {
        processor.address = addr;
        return true;
    }
};
}
