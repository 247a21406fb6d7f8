#include "NbnsPacket.h"

#include <cstring>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

using muduo::net::WireReader;
using muduo::net::WireWriter;

namespace
{
const int kNameOffset = 12;
const int kTypeOffset = 46;
const int kMaxEncodedLength = 32;

char decodePair(uint8_t c1, uint8_t c2)
{
    uint8_t high = static_cast<uint8_t>(c1 - 'A');
    uint8_t low = static_cast<uint8_t>(c2 - 'A');
    return static_cast<char>(static_cast<uint8_t>((high << 4) | low));
}

void encodeChar(WireWriter& w, uint8_t c)
{
    w.u8(static_cast<uint8_t>('A' + (c >> 4))).u8(static_cast<uint8_t>('A' + (c & 0x0F)));
}
}

bool NbnsPacket::parseNbNsPacket(const char* data, int length, unsigned short& transactionId, std::string& name,
                                 unsigned short& type, unsigned short& cls)
{
    name.clear();
    if (length > kQuerySize)
        return false;
    if (length < kQuerySize)
    {
        // type and class sit at fixed offsets up to byte 50
        LOG_DEBUG << "nbns datagram too short: " << length;
        return false;
    }
    WireReader head(data, static_cast<size_t>(length));
    uint8_t encodedLength = 0;
    if (!head.be16(transactionId) || !head.skip(kNameOffset - 2) || !head.u8(encodedLength))
        return false;
    if (encodedLength >= 2 && encodedLength <= kMaxEncodedLength && encodedLength % 2 == 0)
    {
        for (int i = 0; i < encodedLength / 2; ++i)
        {
            uint8_t c1 = 0, c2 = 0;
            if (!head.u8(c1) || !head.u8(c2))
                return false;
            name.push_back(decodePair(c1, c2));
        }
    }
    WireReader tail(data, static_cast<size_t>(length));
    return tail.skip(kTypeOffset) && tail.be16(type) && tail.be16(cls);
}

bool NbnsPacket::validatePacket(const std::string& name, const unsigned char* nbName, unsigned char nbLength,
                                unsigned short type, unsigned short cls)
{
    if (type != 0x20 || cls != 1)
        return false;
    if (nbName == nullptr || nbLength == 0 || nbLength > kMaxNameLength)
        return false;
    return name.size() >= nbLength && ::memcmp(name.data(), nbName, nbLength) == 0;
}

void NbnsPacket::buildNbNsRespPacket(muduo::net::Buffer& out, unsigned short& transactionId,
                                     const unsigned char* nbName, unsigned char nbLength, unsigned int address)
{
    int length = nbName ? (nbLength > kMaxNameLength ? kMaxNameLength : nbLength) : 0;
    WireWriter w(out);
    w.be16(transactionId).be16(0x8400).be16(0).be16(1).be16(0).be16(0);
    w.u8(kMaxEncodedLength);
    for (int i = 0; i < kMaxNameLength; ++i)
    {
        if (i < length)
            encodeChar(w, nbName[i]);
        else if (i < kMaxNameLength - 1)
            encodeChar(w, ' ');
        else
            encodeChar(w, 0);
    }
    w.u8(0).be16(0x0020).be16(0x0001).be32(0).be16(6).be16(0x6000).be32(address);
}
