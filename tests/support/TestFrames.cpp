#include "support/TestFrames.h"

#include "PowerModulePacketBuilder.h"
#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

namespace test
{
std::string configFrame(uint8_t code, const std::string& data)
{
    std::string f;
    f += static_cast<char>(0xA4);
    f += static_cast<char>(data.size() + 1);
    f += static_cast<char>(code);
    return f + data;
}

std::string configField(const std::string& text)
{
    std::string f = text.substr(0, 16);
    f.resize(16, '\0');
    return f;
}

Bytes pmFrame(unsigned char cmd, const Bytes& payload)
{
    unsigned char out[32];
    int n = PowerModulePacketBuilder::buildPacket(out, sizeof out, cmd, payload.data(),
                                                  static_cast<int>(payload.size()));
    return Bytes(out, out + n);
}

std::string mgrCtrlFrame(uint8_t flag, const std::string& data, int checksum)
{
    uint8_t sum = 0;
    for (char c : data)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    muduo::net::Buffer out;
    muduo::net::WireWriter(out).u8(0xA4).u8(flag).u8(static_cast<uint8_t>(checksum < 0 ? sum : checksum))
        .be32(static_cast<uint32_t>(data.size())).bytes(data.data(), data.size());
    return out.retrieveAllAsString();
}

std::string hexBytes(const std::string& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes)
        text += std::string(text.empty() ? "" : " ") + kDigits[c >> 4] + kDigits[c & 15];
    return text;
}

std::string bytesOfHex(const std::string& hex)
{
    std::string digits, out;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

namespace
{
uint8_t crc8(const Bytes& bytes, size_t from)
{
    uint8_t crc = 0;
    for (size_t i = from; i < bytes.size(); ++i)
    {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

void put32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t get32(const Bytes& in, size_t at)
{
    return uint32_t(in[at]) << 24 | uint32_t(in[at + 1]) << 16 | uint32_t(in[at + 2]) << 8 | in[at + 3];
}
}

Bytes cascadeFrame(uint8_t address, uint16_t sequence, const Bytes& payload)
{
    Bytes f = {0xA5, address, static_cast<uint8_t>(sequence >> 8), static_cast<uint8_t>(sequence), crc8(payload, 0)};
    put32(f, static_cast<uint32_t>(payload.size()));
    put32(f, ~static_cast<uint32_t>(payload.size()));
    f.insert(f.end(), payload.begin(), payload.end());
    return f;
}

bool decodeCascadeFrame(const Bytes& bytes, uint8_t& address, uint16_t& sequence, Bytes& payload)
{
    if (bytes.size() < 13 || bytes[0] != 0xA5)
        return false;
    const uint32_t n = get32(bytes, 5);
    if (get32(bytes, 9) != ~n || bytes.size() != 13 + size_t(n) || crc8(bytes, 13) != bytes[4])
        return false;
    address = bytes[1];
    sequence = static_cast<uint16_t>(bytes[2] << 8 | bytes[3]);
    payload.assign(bytes.begin() + 13, bytes.end());
    return true;
}
}
