#pragma once
#include "cascade/processor/CascadeCtrlTestPingRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/PingTestProcessor.h"

namespace web
{
// Code 20: "port" and "ip", a dotted IPv4 address.
class PingTestParser final
    : public WebCommandParser<PingTestParser, PingTestProcessor, WebSlaveRelays<CascadeCtrl::CascadeCtrlTestPingRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _PingTest& test);
    static bool fill(const _PingTest& test, CascadeCtrl::CascadeCtrlTestPingRequest& request)
    {
        request.port = test.port;
        request.ip = test.ip;
        return travels(test.port, 0, 255, "ping test port");
    }
};
}
