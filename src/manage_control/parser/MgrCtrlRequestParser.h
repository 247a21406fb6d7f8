#pragma once
#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>

#include "cascade/processor/CascadeRelayType.h"
#include "manage_control/parser/MgrCtrlDataParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"

namespace MgrCtrl
{
// A request whose layout depends on the unit addressed reads with
// read(WireReader&, uint8_t address).
template <class R, class = void>
struct MgrCtrlReadsByAddress : std::false_type
{
};
template <class R>
struct MgrCtrlReadsByAddress<
    R, std::void_t<decltype(std::declval<R&>().read(std::declval<muduo::net::WireReader&>(), uint8_t()))>>
    : std::true_type
{
};

// The parser of every command laid out as code, address, request: reads the
// address (unsigned, so slaves 128 to 255 are reachable) and the request
// struct (Processor::Request, whose read() checks each field is there),
// makes the processor with the modules the parser was built with, and for a
// non-zero address also the command's relay carrying the same request.
// Relay void: the command is never relayed (the processor answers a slave
// from the master's records). The relay is made from the request as
// Relay(type, address, request), so a request struct that differs from the
// relay's converts to it.
template <class Processor, class Relay = void>
class MgrCtrlRequestParser : public MgrCtrlDataParser
{
public:
    typedef typename Processor::Request Request;

    // The modules (shared pointers, references wrapped in std::ref) go to
    // the constructor of every processor made.
    template <typename... Modules>
    explicit MgrCtrlRequestParser(const Modules&... modules)
        : make_([modules...] { return std::make_shared<Processor>(modules...); })
    {
    }

    int parse(muduo::net::Buffer& data, std::shared_ptr<MgrCtrlProcessor>& processor) override
    {
        muduo::net::WireReader in(data);
        uint8_t address = 0;
        Request request;
        const bool whole = in.skip(1) && in.u8(address) && read(in, address, request);
        data.retrieve(in.consumed());
        if (!whole)
            return kMalformed;
        LOG_INFO << "addr:" << static_cast<int>(address);
        const std::shared_ptr<Processor> made = make_();
        made->setRequest(address, request);
        int result = kLocal;
        if constexpr (!std::is_void<Relay>::value)
        {
            if (address != 0)
            {
                made->setRelay(std::make_shared<Relay>(kCascadeRelayMgrCtrl, address, request));
                result = kRelay;
            }
        }
        processor = made;
        return result;
    }

private:
    static bool read(muduo::net::WireReader& in, uint8_t address, Request& request)
    {
        if constexpr (MgrCtrlReadsByAddress<Request>::value)
            return request.read(in, address);
        else
            return request.read(in);
    }

    std::function<std::shared_ptr<Processor>()> make_;
};
}
