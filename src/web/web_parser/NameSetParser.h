#pragma once
#include "cascade/processor/CascadeCtrlSetNameExtRelay.h"
#include "cascade/processor/CascadeCtrlSetNameRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/NameSetProcessor.h"

namespace web
{
// Code 30: "device_name" and "port_names", a list of {"port", "name"}; both
// optional. An empty unit name changes nothing.
class NameSetParser final
    : public WebCommandParser<NameSetParser, NameSetProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlSetNameRelay,
                                                  CascadeCtrl::CascadeCtrlSetNameExtRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, std::map<int, std::string>& names);
    // The relay's mask and name fields follow from the map (key -1 the
    // unit's name).
    template <class Request>
    static bool fill(const std::map<int, std::string>& names, Request& request)
    {
        request.names = names;
        return true;
    }
};
}
