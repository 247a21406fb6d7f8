#pragma once
#include "cascade/parser/CRC_8.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

namespace CascadeCtrl
{
// Writes cascade frames: 0xA5, address, 16-bit sequence, CRC-8 of the
// payload, the payload length and its complement (32 bits each, big-endian),
// the payload. Copyable; the CRC table never changes after construction.
class CascadeCtrlPacketBuilder
{
public:
    static const unsigned char kStartByte = 0xA5;
    static const int kHeaderLength = 13;

    CascadeCtrlPacketBuilder();

    // Empties out and writes one frame around the payload's readable bytes
    // (read, not consumed); address and sequence keep their low 8 and 16 bits.
    void buildPacket(muduo::net::Buffer& out, int address, int sequence, const muduo::net::Buffer& payload) const;

private:
    CRC::CRC_8 crc_;
};
}
