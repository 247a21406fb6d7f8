#pragma once
#include "cascade/processor/CascadeCtrlSetTempHumThresholdRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/TempHumiThresholdUpdateProcessor.h"

namespace web
{
// Code 15: "threshold", an object with the temperature and humidity pairs;
// a pair is taken when both its limits are numbers.
class TempHumiThresholdUpdateParser final
    : public WebAddressedParser<TempHumiThresholdUpdateParser, TempHumiThresholdUpdateProcessor,
                              CascadeCtrl::CascadeCtrlSetTempHumThresholdRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, TempHumiThresholdUpdateProcessor& processor);
    template <class Request>
    static void fill(Request& request, const TempHumiThresholdUpdateProcessor& processor)
    {
        request.threshold = processor.value;
    }
};
}
