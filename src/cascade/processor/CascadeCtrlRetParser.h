#pragma once
#include <cstdint>
#include <memory>

#include "cascade/processor/CascadeCtrlDataParser.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"

namespace CascadeCtrl
{
// A master's answer parser: makes its command's answer processor once and
// reads every answer of that code into it. A payload that is empty or
// short is refused and the last answer's fields stay; bytes after the
// answer's last field are ignored.
template <class Processor>
class CascadeCtrlRetParser : public CascadeCtrlDataParser
{
public:
    CascadeCtrlRetParser() : processor_(std::make_shared<Processor>()) {}

    bool parse(muduo::net::Buffer& payload, std::shared_ptr<CascadeCtrlProcessor>& processor) override
    {
        muduo::net::WireReader r(payload);
        uint8_t code = 0;
        if (!r.u8(code) || !processor_->readAnswer(r))
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
