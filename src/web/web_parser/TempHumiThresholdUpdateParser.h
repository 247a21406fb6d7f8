#pragma once
#include "cascade/processor/CascadeCtrlSetTempHumThresholdRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/TempHumiThresholdUpdateProcessor.h"

namespace web
{
// Code 15: "threshold", an object with the temperature and humidity pairs;
// a pair is taken when both its limits are numbers.
class TempHumiThresholdUpdateParser final
    : public WebCommandParser<TempHumiThresholdUpdateParser, TempHumiThresholdUpdateProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlSetTempHumThresholdRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _DeviceTempHumiThreshold& threshold);
    static bool fill(const _DeviceTempHumiThreshold& threshold,
                     CascadeCtrl::CascadeCtrlSetTempHumThresholdRequest& request)
    {
        request.threshold = threshold;
        return true;
    }
};
}
