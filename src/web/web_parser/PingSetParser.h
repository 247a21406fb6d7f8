#pragma once
#include <map>

#include "cascade/processor/CascadeCtrlSetPingExtRelay.h"
#include "cascade/processor/CascadeCtrlSetPingRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/PingSetProcessor.h"

namespace web
{
// Code 17: "set", one object per outlet; the first object of an outlet counts.
class PingSetParser final
    : public WebCommandParser<PingSetParser, PingSetProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlSetPingRelay,
                                             CascadeCtrl::CascadeCtrlSetPingExtRelay>>
{
public:
    typedef std::map<int, PingSetting> Settings;
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, Settings& settings);

    // Interval, timeout, action and the enabled flag travel in one byte each.
    template <typename M>
    static bool fill(const Settings& settings, CascadeCtrl::CascadeCtrlSetPingRequest<M>& request)
    {
        request.settings = settings;
        return travels(settings);
    }

private:
    static bool readOne(const Value& element, PingSetting& setting);
    static bool travels(const Settings& settings);
};
}
