#pragma once
#include <memory>
#include <type_traits>

#include "DeviceTypes.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeRelayType.h"
#include "muduo/base/Logging.h"
#include "web/web_parser/WebModules.h"
#include "web/web_parser/WebParser.h"
#include "web/web_processor/WebProcessor.h"

namespace web
{
// The relays that take a command to a slave: Wide (an Ext relay) for a slave
// with more than 31 outlets, else Narrow; a command with one relay class
// names it once.
template <class Narrow, class Wide = Narrow>
struct WebSlaveRelays
{
    typedef Narrow NarrowRelay;
    typedef Wide WideRelay;
};

// A command that is always carried out on this unit: "addr" is not read.
struct WebThisUnitOnly
{
};

// The family of command parsers: check "content", read "addr" (relayed
// commands only) and the command's fields, build the processor with the
// parser's module, and for a slave the relay with the same fields. A slave
// must be in the master's slave map; anything else is dropped.
//
// Derived, the named parser, supplies
//   static bool read(const Value& content, Fields& fields);
// and, for relayed commands, for each relay's request type
//   static bool fill(const Fields& fields, Request& request);
// which is false (with a log line) when the fields cannot travel on the
// cascade line unchanged.
template <class Derived, class Processor, class Relays = WebThisUnitOnly>
class WebCommandParser : public WebParser
{
public:
    typedef typename Processor::Module Module;
    typedef typename Processor::Fields Fields;

    explicit WebCommandParser(PduServer* server) { WebModules::take(server, module_); }

    int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) override
    {
        const Value* arguments = content(request);
        int addr = 0;
        Fields fields;
        if (!arguments || (kRelayed && !readAddr(*arguments, addr)) || !Derived::read(*arguments, fields))
            return kMalformed;
        const auto made = std::make_shared<Processor>(module_, fields);
        if (addr != 0 && !relay(addr, fields, *made))
            return kMalformed;
        processor = made;
        return addr == 0 ? kLocal : kRelay;
    }

protected:
    // A field the cascade line carries in fewer bits than it has: false,
    // logged, when value lies outside [low, high].
    static bool travels(long long value, long long low, long long high, const char* what)
    {
        if (value >= low && value <= high)
            return true;
        LOG_WARN << what << " " << value << " does not fit the cascade line, request not relayed";
        return false;
    }

private:
    static constexpr bool kRelayed = !std::is_same<Relays, WebThisUnitOnly>::value;

    static bool relay(int addr, const Fields& fields, WebProcessor& processor)
    {
        if constexpr (kRelayed)
        {
            const _SlaveDevice* slave = findSlave(addr);
            if (!slave)
                return false;
            LOG_INFO << "port num:" << slave->portCount;
            const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> made =
                slave->portCount > 31 ? build<typename Relays::WideRelay>(addr, fields)
                                      : build<typename Relays::NarrowRelay>(addr, fields);
            processor.setRelay(made);
            return made != nullptr;
        }
        else
        {
            (void)addr, (void)fields, (void)processor;
            return false;
        }
    }

    template <class Relay>
    static std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> build(int addr, const Fields& fields)
    {
        const auto made = std::make_shared<Relay>(kCascadeRelayWeb);
        made->setTargetAddress(addr);
        if (!Derived::fill(fields, made->request))
            return nullptr;
        return made;
    }

    Module module_;
};
}
