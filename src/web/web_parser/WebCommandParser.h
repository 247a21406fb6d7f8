#pragma once
#include <memory>

#include "DeviceTypes.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "cascade/processor/CascadeRelayType.h"
#include "muduo/base/Logging.h"
#include "web/web_parser/WebModules.h"
#include "web/web_parser/WebParser.h"
#include "web/web_processor/WebProcessor.h"
#include "web/web_processor/WebRefusedProcessor.h"

namespace web
{
// Where a command is carried out, the last argument of WebCommandParser.
// Carried out on this unit only: kContent false ignores "content" (a
// command without arguments); kAddr reads "addr" and hands it to read.
template <bool kContent, bool kAddr>
struct WebLocalCommand
{
    static constexpr bool kReadsContent = kContent;
    static constexpr bool kReadsAddr = kAddr;
    static constexpr bool kRelays = false;
};
typedef WebLocalCommand<false, false> WebNoArguments;
typedef WebLocalCommand<true, false> WebThisUnitOnly;
typedef WebLocalCommand<true, true> WebAnsweredHere;

// Relayed to the slave a nonzero "addr" names: Wide (an Ext relay) for a
// slave with more than 31 outlets, else Narrow; kLog logs the slave's
// outlet count first.
template <class Narrow, class Wide = Narrow, bool kLog = true>
struct WebSlaveRelays
{
    static constexpr bool kReadsContent = true;
    static constexpr bool kReadsAddr = true;
    static constexpr bool kRelays = true;
    static constexpr bool kLogsOutlets = kLog;
    typedef Narrow NarrowRelay;
    typedef Wide WideRelay;
};
template <class Narrow, class Wide = Narrow>
using WebQuietSlaveRelays = WebSlaveRelays<Narrow, Wide, false>;

// The family of command parsers: check "content", read "addr" (as Target
// says) and the command's fields, build the processor with the parser's
// module, and for a slave the relay with the same fields. A slave must be
// in the master's slave map; anything else is dropped. Fields a known slave
// cannot be sent are answered as failed.
//
// Derived, the named parser, hides what it needs to of
//   static bool read(const Value& content, int addr, Fields& fields);
// (false: malformed; addr is 0 unless Target reads it) and, for relayed
// commands, for each relay's request type
//   static bool fill(const Fields& fields, Request& request);
// which is false (with a log line) when the fields cannot travel on the
// cascade line unchanged: the request is then refused, answered as failed.
template <class Derived, class Processor, class Target = WebThisUnitOnly>
class WebCommandParser : public WebParser
{
public:
    typedef typename Processor::Module Module;
    typedef typename Processor::Fields Fields;

    explicit WebCommandParser(const WebModules& modules) : module_(modules.get<Module>()) {}

    int parse(Json::JsonCpp& request, std::shared_ptr<WebProcessor>& processor) override
    {
        int addr = 0;
        Fields fields{};
        if (Target::kReadsContent)
        {
            const Value* arguments = content(request);
            if (!arguments || (Target::kReadsAddr && !readAddr(*arguments, addr)) ||
                !Derived::read(*arguments, addr, fields))
                return kMalformed;
        }
        const auto made = std::make_shared<Processor>(module_, fields);
        const bool relayed = Target::kRelays && addr != 0;
        if (relayed)
        {
            const _SlaveDevice* slave = findSlave(addr);
            if (!slave)
                return kMalformed;
            if (!relay(*slave, addr, fields, *made))
            {
                processor = std::make_shared<WebRefusedProcessor>(made);
                return kLocal;
            }
        }
        processor = made;
        return relayed ? kRelay : kLocal;
    }

protected:
    static bool read(const Value&, int, Fields&) { return true; }
    template <class Request>
    static bool fill(const Fields&, Request&)
    {
        return true;
    }

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
    static const int kNarrowOutlets = 31;  // a 32-bit mask's outlets

    // False when the fields cannot travel to the slave.
    static bool relay(const _SlaveDevice& slave, int addr, const Fields& fields, WebProcessor& processor)
    {
        if constexpr (Target::kRelays)
        {
            if (Target::kLogsOutlets)
            {
                LOG_INFO << "port num:" << slave.portCount;
            }
            const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> made =
                slave.portCount > kNarrowOutlets ? build<typename Target::WideRelay>(addr, fields)
                                                 : build<typename Target::NarrowRelay>(addr, fields);
            processor.setRelay(made);
            return made != nullptr;
        }
        else
        {
            (void)slave, (void)addr, (void)fields, (void)processor;
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
