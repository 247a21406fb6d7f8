#include "NbnsPacket.h"

#include <algorithm>
#include <string>

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
const int kNameCharacters = 15;  // then the suffix byte

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

// The 16 bytes of the name the unit answers to and with: its name padded
// with spaces to 15 characters and suffix 0x00; a 16-character name fills
// all of them.
std::string unitName(const unsigned char* nbName, unsigned char nbLength)
{
    std::string name;
    if (nbName)
        name.assign(reinterpret_cast<const char*>(nbName), std::min<size_t>(nbLength, NbnsPacket::kMaxNameLength));
    if (name.size() < static_cast<size_t>(NbnsPacket::kMaxNameLength))
    {
        name.resize(kNameCharacters, ' ');
        name.push_back('\0');
    }
    return name;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
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
    // Only the unit's own name: names compare regardless of case, as the
    // name service does; the suffix byte is a number and must be the same.
    const std::string own = unitName(nbName, nbLength);
    if (name.size() != own.size())
        return false;
    for (int i = 0; i < kNameCharacters; ++i)
        if (upper(name[i]) != upper(own[i]))
            return false;
    return name[kNameCharacters] == own[kNameCharacters];
}

void NbnsPacket::buildNbNsRespPacket(muduo::net::Buffer& out, unsigned short& transactionId,
                                     const unsigned char* nbName, unsigned char nbLength, unsigned int address)
{
    WireWriter w(out);
    w.be16(transactionId).be16(0x8400).be16(0).be16(1).be16(0).be16(0);
    w.u8(kMaxEncodedLength);
    for (unsigned char c : unitName(nbName, nbLength))
        encodeChar(w, c);
    w.u8(0).be16(0x0020).be16(0x0001).be32(0).be16(6).be16(0x6000).be32(address);
}
