#pragma once
#include "cascade/processor/CascadeCtrlSetPortDelayExtRelay.h"
#include "cascade/processor/CascadeCtrlSetPortDelayRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/DevicePortDelayUpdateProcessor.h"

namespace web
{
// Code 11: "delay", a list of {"port", and any of "on", "off", "restart"}.
class DevicePortDelayUpdateParser final
    : public WebAddressedParser<DevicePortDelayUpdateParser, DevicePortDelayUpdateProcessor,
                              CascadeCtrl::CascadeCtrlSetPortDelayRelay, CascadeCtrl::CascadeCtrlSetPortDelayExtRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, DevicePortDelayUpdateProcessor& processor);
    template <class Request>
    static void fill(Request& request, const DevicePortDelayUpdateProcessor& processor)
    {
        request.delays = processor.value;
    }
};
}
