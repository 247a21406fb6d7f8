// Raw ICMP datagrams (IP header first): the echo-reply check must stay within
// the bytes whatever the header length claims.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "PingModule.h"
#include "muduo/base/Logging.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return true;
    }();
    (void)quiet;
    // An exact-size copy, so any read past the end is caught.
    std::vector<unsigned char> bytes(data, data + size);
    uint16_t identifier = 0x1234;
    if (size >= 2)
        ::memcpy(&identifier, data + size - 2, 2);
    PingModule::isEchoReply(bytes.data(), bytes.size(), identifier);
    return 0;
}
