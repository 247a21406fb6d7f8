#pragma once
#include "ConfigParser.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

// The factory config port: stores the MAC address, the identity text, or the
// identity text with the unit name and NetBIOS name, in pdu.db and then in
// pdu_default.db, and answers each frame with a 20-byte reply.
class ConfigProcessor : muduo::noncopyable
{
public:
    // Feeds one datagram; answers at most the oldest whole frame. True when
    // a reply was appended.
    bool process(const char* data, int length, muduo::Timestamp time, muduo::net::Buffer* reply);

private:
    bool saveFrame(unsigned char code, bool& saved);

    ConfigParser parser_;
};
