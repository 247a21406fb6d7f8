#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayExtRelay.h"
#include "cascade/processor/CascadeCtrlSetPortDelayRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/DevicePortDelayUpdateProcessor.h"

namespace web
{
// Code 11: "delay", a list of {"port", and any of "on", "off", "restart"}.
class DevicePortDelayUpdateParser final
    : public WebCommandParser<DevicePortDelayUpdateParser, DevicePortDelayUpdateProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlSetPortDelayRelay,
                                                  CascadeCtrl::CascadeCtrlSetPortDelayExtRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int addr, std::vector<_DevicePortDelay>& delays);
    template <class Request>
    static bool fill(const std::vector<_DevicePortDelay>& delays, Request& request)
    {
        request.delays = delays;
        return true;
    }
};
}
