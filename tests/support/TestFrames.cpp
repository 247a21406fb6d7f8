#include "support/TestFrames.h"

#include "PowerModulePacketBuilder.h"

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
}
