#pragma once
#include "cascade/processor/CascadeCtrlTestPingStatusRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/PingTestStatusProcessor.h"

namespace web
{
// Code 21: "port", the outlet whose last test is asked about.
class PingTestStatusParser final
    : public WebCommandParser<PingTestStatusParser, PingTestStatusProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlTestPingStatusRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, int& port) { return readInt(content, "port", port); }
    static bool fill(int port, CascadeCtrl::CascadeCtrlTestPingStatusRequest& request)
    {
        request.port = port;
        return travels(port, 0, 255, "ping test port");
    }
};
}
