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
    // The line carries 16 bits a delay, 0xFFFF for -1 ("unchanged").
    template <class Request>
    static bool fill(const std::vector<_DevicePortDelay>& delays, Request& request)
    {
        const int longest = DelaySettings::kLongest - 1;
        for (const _DevicePortDelay& d : delays)
            if (!travels(d.onDelay, DelaySettings::kUnchanged, longest, "on delay") ||
                !travels(d.offDelay, DelaySettings::kUnchanged, longest, "off delay") ||
                !travels(d.restartDelay, DelaySettings::kUnchanged, longest, "restart delay"))
                return false;
        request.delays = delays;
        return true;
    }
};
}
