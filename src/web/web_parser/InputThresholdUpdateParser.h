#pragma once
#include "cascade/processor/CascadeCtrlSetInputThresholdRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/InputThresholdUpdateProcessor.h"

namespace web
{
// Code 5: "threshold", an object with the inlet's limit pairs; a pair is
// taken when both its limits are numbers. The slave gets the whole record,
// its switch-off pair included.
class InputThresholdUpdateParser final
    : public WebCommandParser<InputThresholdUpdateParser, InputThresholdUpdateProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlSetInputThresholdRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _DeviceInputThreshold& threshold);
    static bool fill(const _DeviceInputThreshold& threshold, CascadeCtrl::CascadeCtrlSetInputThresholdRequest& request)
    {
        request.threshold = threshold;
        return true;
    }
};
}
