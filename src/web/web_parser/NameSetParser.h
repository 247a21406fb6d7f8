#pragma once
#include "cascade/processor/CascadeCtrlSetNameExtRelay.h"
#include "cascade/processor/CascadeCtrlSetNameRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/NameSetProcessor.h"

namespace web
{
// Code 30: "device_name" and "port_names", a list of {"port", "name"}; both
// optional. An empty unit name changes nothing.
class NameSetParser final
    : public WebAddressedParser<NameSetParser, NameSetProcessor, CascadeCtrl::CascadeCtrlSetNameRelay,
                              CascadeCtrl::CascadeCtrlSetNameExtRelay>
{
private:
    friend WebAddressedParser;
    static bool read(const Value& content, int addr, NameSetProcessor& processor);
    // The relay's mask and name fields follow from the map (key -1 the
    // unit's name).
    template <class Request>
    static void fill(Request& request, const NameSetProcessor& processor)
    {
        request.names = processor.value;
    }
};
}
