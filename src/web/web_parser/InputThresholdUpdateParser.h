#pragma once
#include "cascade/processor/CascadeCtrlSetInputThresholdRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/InputThresholdUpdateProcessor.h"

namespace web
{
// Code 5: "threshold", an object with the inlet's limit pairs; a pair is
// taken when both its limits are numbers.
class InputThresholdUpdateParser final
    : public WebAddressedParser<InputThresholdUpdateParser, InputThresholdUpdateProcessor,
                              CascadeCtrl::CascadeCtrlSetInputThresholdRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, InputThresholdUpdateProcessor& processor);
    // The slave gets the whole record, its switch-off pair included.
    template <class Request>
    static void fill(Request& request, const InputThresholdUpdateProcessor& processor)
    {
        request.threshold = processor.value;
    }
};
}
