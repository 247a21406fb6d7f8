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

namespace MgrCtrl
{
class MgrCtrlProcessor;

// Reads one command's request data into the processor that carries it out.
// One per command, owned by the dispatcher's table and shared by every
// connection, so a parser keeps nothing between requests.
class MgrCtrlDataParser : muduo::noncopyable
{
public:
    // Results of parse.
    static const int kMalformed = 0;  // the data ended before a needed field: no processor
    static const int kRelay = 1;      // the processor carries a relay to a slave
    static const int kLocal = 2;      // the processor works on this unit

    virtual ~MgrCtrlDataParser() = default;

    // data holds one request from its code byte on; what is read is
    // consumed. processor is set only for kRelay and kLocal.
    virtual int parse(muduo::net::Buffer& data, std::shared_ptr<MgrCtrlProcessor>& processor) = 0;
};
}
