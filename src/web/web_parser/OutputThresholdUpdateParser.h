#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtRelay.h"
#include "cascade/processor/CascadeCtrlSetOutputThresholdRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/OutputThresholdUpdateProcessor.h"

namespace web
{
// Code 4: "threshold", a list of {"port", and any of the four limits}.
class OutputThresholdUpdateParser final
    : public WebAddressedParser<OutputThresholdUpdateParser, OutputThresholdUpdateProcessor,
                              CascadeCtrl::CascadeCtrlSetOutputThresholdRelay,
                              CascadeCtrl::CascadeCtrlSetOutputThresholdExtRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, OutputThresholdUpdateProcessor& processor);
    template <class Request>
    static void fill(Request& request, const OutputThresholdUpdateProcessor& processor)
    {
        request.setting = processor.value;
    }
};
}
