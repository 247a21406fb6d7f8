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
}
