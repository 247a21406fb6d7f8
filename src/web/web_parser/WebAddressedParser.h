#pragma once
#include <memory>
#include <type_traits>

#include "DeviceTypes.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "web/web_parser/WebParser.h"

namespace web
{
// The parser family of the commands that read "addr": checks "content" and
// "addr", builds the processor (Parser::make) and lets Parser::read take the
// command's own keys. "addr" 0 keeps the request here. Another address goes
// out as Relay, or as ExtRelay when the slave has more than 31 outlets,
// with its request filled by Parser::fill; a command without a relay
// (Relay void) stays here and its processor answers for the address.
//
// Each named parser is a final class over this template that hides the
// defaults it needs to: read (the command's keys; false is malformed), fill
// (the relay's request from the processor) and make (a processor with the
// module the parser holds).
template <class Parser, class Processor, class Relay = void, class ExtRelay = void>
class WebAddressedParser : public WebParser
{
public:
    int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) override
    {
        const Value* args = content(request);
        int addr = 0;
        if (!args || !readAddr(*args, addr))
            return kMalformed;
        std::shared_ptr<Processor> made = static_cast<const Parser&>(*this).make();
        if (!Parser::read(*args, addr, *made))
            return kMalformed;
        if constexpr (!std::is_void<Relay>::value)
        {
            if (addr != 0)
            {
                const _SlaveDevice* slave = findSlave(addr);
                if (!slave)
                    return kMalformed;
                made->setRelay(relayFor(*made, addr, slave->portCount));
                processor = made;
                return kRelay;
            }
        }
        processor = made;
        return kLocal;
    }

protected:
    static const int kNarrowOutlets = 31;  // a 32-bit mask's outlets

    std::shared_ptr<Processor> make() const { return std::make_shared<Processor>(); }
    static bool read(const Value&, int, Processor&) { return true; }
    template <class Request>
    static void fill(Request&, const Processor&)
    {
    }

private:
    template <class R>
    static std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay(const Processor& processor, int addr)
    {
        auto made = std::make_shared<R>(kCascadeRelayWeb);
        made->setTargetAddress(addr);
        Parser::fill(made->request, processor);
        return made;
    }

    static std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relayFor(const Processor& processor, int addr, int outlets)
    {
        if constexpr (!std::is_void<ExtRelay>::value)
        {
            if (outlets > kNarrowOutlets)
                return relay<ExtRelay>(processor, addr);
        }
        (void)outlets;
        return relay<Relay>(processor, addr);
    }
};
}
