#pragma once
#include "cascade/processor/CascadeCtrlOperatePortExtRelay.h"
#include "cascade/processor/CascadeCtrlOperatePortRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/PortOperationProcessor.h"

class PduServer;

namespace web
{
// Code 2: "ports" (integers) and "action".
class PortOperationParser final
    : public WebAddressedParser<PortOperationParser, PortOperationProcessor, CascadeCtrl::CascadeCtrlOperatePortRelay,
                              CascadeCtrl::CascadeCtrlOperatePortExtRelay>
{
public:
    explicit PortOperationParser(PduServer* server);

private:
    friend WebAddressedParser;
    std::shared_ptr<PortOperationProcessor> make() const;
    static bool read(const Value& content, int addr, PortOperationProcessor& processor);
    template <class Request>
    static void fill(Request& request, const PortOperationProcessor& processor)
    {
        request.mask = static_cast<decltype(request.mask)>(outletMask(processor.ports));
        request.action = processor.action;
    }

    std::shared_ptr<PowerModuleContainer> modules_;
};
}
