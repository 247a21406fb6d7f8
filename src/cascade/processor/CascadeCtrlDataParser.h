#pragma once
#include <memory>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

namespace CascadeCtrl
{
class CascadeCtrlProcessor;

// Decodes the payload of one command code: requests on a slave, answers on
// a master (usually with the command's request struct, CascadeCtrlRequests.h).
class CascadeCtrlDataParser : muduo::noncopyable
{
public:
    virtual ~CascadeCtrlDataParser() = default;

    // payload starts at the code byte; what is read is consumed. True with
    // the processor that handles the frame in processor (or left empty to
    // handle nothing); false when the payload is malformed.
    virtual bool parse(muduo::net::Buffer& payload, std::shared_ptr<CascadeCtrlProcessor>& processor) = 0;
};
}
