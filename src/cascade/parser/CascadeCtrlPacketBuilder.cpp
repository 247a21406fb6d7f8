#include "cascade/parser/CascadeCtrlPacketBuilder.h"

#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
CascadeCtrlPacketBuilder::CascadeCtrlPacketBuilder() : crc_(CRC::CRC_8::parameters) {}

void CascadeCtrlPacketBuilder::buildPacket(muduo::net::Buffer& out, int address, int sequence,
                                           const muduo::net::Buffer& payload) const
{
    const size_t length = payload.readableBytes();
    const uint32_t n = static_cast<uint32_t>(length);
    out.retrieveAll();
    muduo::net::WireWriter w(out);
    w.u8(kStartByte)
        .u8(static_cast<uint8_t>(address))
        .be16(static_cast<uint16_t>(sequence))
        .u8(crc_.compute(payload.peek(), length))
        .be32(n)
        .be32(~n)
        .bytes(payload.peek(), length);
}
}
