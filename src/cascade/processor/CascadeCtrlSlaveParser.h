#pragma once
#include <cstdint>
#include <memory>
#include <utility>

#include "cascade/processor/CascadeCtrlDataParser.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"

namespace CascadeCtrl
{
// A slave's request parser: makes its command's processor once, with the
// modules it is given, and reads every request of that code into the
// processor's request (CascadeCtrlSlaveCommand). A payload that is empty
// or short is refused, and the last request's fields stay as they were.
template <class Processor>
class CascadeCtrlSlaveParser : public CascadeCtrlDataParser
{
public:
    template <typename... Modules>
    explicit CascadeCtrlSlaveParser(Modules&&... modules)
        : processor_(std::make_shared<Processor>(std::forward<Modules>(modules)...))
    {
    }

    bool parse(muduo::net::Buffer& payload, std::shared_ptr<CascadeCtrlProcessor>& processor) override
    {
        muduo::net::WireReader r(payload);
        uint8_t code = 0;
        if (!r.u8(code) || !processor_->request.read(r))
            return false;
        payload.retrieve(r.consumed());
        processor = processor_;
        return true;
    }

    const std::shared_ptr<Processor>& processor() const { return processor_; }

private:
    std::shared_ptr<Processor> processor_;
};
}
