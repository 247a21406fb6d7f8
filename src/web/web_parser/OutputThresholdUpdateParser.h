#pragma once
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtRelay.h"
#include "cascade/processor/CascadeCtrlSetOutputThresholdRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/OutputThresholdUpdateProcessor.h"

namespace web
{
// Code 4: "threshold", a list of {"port", and any of the four limits}.
class OutputThresholdUpdateParser final
    : public WebCommandParser<OutputThresholdUpdateParser, OutputThresholdUpdateProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlSetOutputThresholdRelay,
                                                  CascadeCtrl::CascadeCtrlSetOutputThresholdExtRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _DeviceOutputThresholdSetting& setting);
    template <class Request>
    static bool fill(const _DeviceOutputThresholdSetting& setting, Request& request)
    {
        request.setting = setting;
        return true;
    }
};
}
