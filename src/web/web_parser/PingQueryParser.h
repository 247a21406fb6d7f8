#pragma once
#include <vector>

#include "cascade/processor/CascadeCtrlQueryPingExtRelay.h"
#include "cascade/processor/CascadeCtrlQueryPingRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/PingQueryProcessor.h"

namespace web
{
// Code 38: "ports", in the order (repeats included) of the answer.
class PingQueryParser final
    : public WebCommandParser<PingQueryParser, PingQueryProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlQueryPingRelay,
                                             CascadeCtrl::CascadeCtrlQueryPingExtRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, std::vector<int>& ports)
    {
        if (!readIntArray(content, "ports", ports))
            return false;
        for (int port : ports)
            LOG_INFO << "port:" << port;
        return true;
    }
    template <typename M>
    static bool fill(const std::vector<int>& ports, CascadeCtrl::CascadeCtrlOutletMaskRequest<M>& request)
    {
        request.mask = static_cast<M>(outletMask(ports));
        return true;
    }
};
}
