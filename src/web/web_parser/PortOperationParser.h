#pragma once
#include "cascade/processor/CascadeCtrlOperatePortExtRelay.h"
#include "cascade/processor/CascadeCtrlOperatePortRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/PortOperationProcessor.h"

namespace web
{
// Code 2: "ports" (integers) and "action".
class PortOperationParser final
    : public WebCommandParser<PortOperationParser, PortOperationProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlOperatePortRelay,
                                                  CascadeCtrl::CascadeCtrlOperatePortExtRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, _PortOperation& operation)
    {
        return readIntArray(content, "ports", operation.ports) && readInt(content, "action", operation.action);
    }
    template <class Request>
    static bool fill(const _PortOperation& operation, Request& request)
    {
        request.mask = static_cast<decltype(request.mask)>(outletMask(operation.ports));
        request.action = operation.action;
        return true;
    }
};
}
