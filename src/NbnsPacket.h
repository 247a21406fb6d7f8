#pragma once
#include <cstdint>
#include <string>

namespace muduo
{
namespace net
{
class Buffer;
}
}

// NetBIOS name-service query reading and positive-answer writing (port 137).
class NbnsPacket
{
public:
    // Size of the only query this unit answers: header, a 32-character
    // encoded name with its length and end bytes, type and class.
    static const int kQuerySize = 50;
    static const int kMaxNameLength = 16;

    // False for anything but a whole query; the name stays empty when its
    // encoded length is odd, 0 or above 32.
    static bool parseNbNsPacket(const char* data, int length, unsigned short& transactionId, std::string& name,
                                unsigned short& type, unsigned short& cls);
    // True for an NB/IN query for the unit's name: its 15 characters, padded
    // with spaces and compared regardless of case, and the suffix the answer
    // carries. A unit without a name answers nothing.
    static bool validatePacket(const std::string& name, const unsigned char* nbName, unsigned char nbLength,
                               unsigned short type, unsigned short cls);
    // Appends the 62-byte answer; address in host order.
    static void buildNbNsRespPacket(muduo::net::Buffer& out, unsigned short& transactionId,
                                    const unsigned char* nbName, unsigned char nbLength, unsigned int address);
};
