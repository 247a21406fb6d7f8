#include "ConfigPacketBuilder.h"

#include <cstring>

#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

int ConfigPacketBuilder::buildSetMacRetPacket(unsigned char* out, int capacity, unsigned char result, const char*)
{
    return build(out, capacity, kSetMac, result);
}

int ConfigPacketBuilder::buildSetUidRetPacket(unsigned char* out, int capacity, unsigned char result, const char*)
{
    return build(out, capacity, kSetUid, result);
}

int ConfigPacketBuilder::buildSetUidExtRetPacket(unsigned char* out, int capacity, unsigned char result,
                                                 const char*)
{
    return build(out, capacity, kSetUidExt, result);
}

int ConfigPacketBuilder::build(unsigned char* out, int capacity, unsigned char code, unsigned char result)
{
    if (out == nullptr || capacity < kReplySize)
        return -1;
    muduo::net::Buffer reply;
    muduo::net::WireWriter w(reply);
    w.u8(0xA4).u8(kReplySize - 2).u8(code).u8(result).text(16, std::string());
    ::memcpy(out, reply.peek(), kReplySize);
    return kReplySize;
}
