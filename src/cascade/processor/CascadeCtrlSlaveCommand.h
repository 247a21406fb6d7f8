#pragma once
#include <cstdint>
#include <type_traits>

#include "cascade/parser/CascadeCtrlCommandTypes.h"
#include "cascade/processor/CascadeCtrlSlaveProcessor.h"
#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// The slave processor of one command code over its request and answer
// structs (CascadeCtrlCommandTypes): the parser reads each request into
// request, work() fills answer_ from scratch, and the answer goes out
// behind the code byte with its status byte, where it has one, set from
// work()'s result.
template <int kCode>
class CascadeCtrlSlaveCommand : public CascadeCtrlSlaveProcessor
{
public:
    typedef typename CascadeCtrlCommandTypes<kCode>::Request Request;
    typedef typename CascadeCtrlCommandTypes<kCode>::Answer Answer;

    using CascadeCtrlSlaveProcessor::process;
    void process(muduo::net::Buffer& out, int sequence) override
    {
        answer_ = Answer();
        CascadeCtrlSlaveProcessor::process(out, sequence);
    }
    void buildResponseData(bool ok, muduo::net::Buffer& payload) override
    {
        if constexpr (std::is_base_of<CascadeCtrlAnswerStatus, Answer>::value)
            answer_.status = ok ? 0 : 1;
        muduo::net::WireWriter w(payload);
        w.u8(static_cast<uint8_t>(kCode));
        answer_.write(w);
    }

    // The last request's fields; a request keeps them until the next one.
    Request request;

protected:
    Answer answer_;
};
}
