// Name-service datagrams: parse, match and answer must stay within the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "NbnsResponder.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return true;
    }();
    (void)quiet;
    static const unsigned char kNames[][16] = {{'R', 'A', 'C', 'K', '1'}, {}};
    muduo::net::Buffer reply;
    NbnsResponder::answer(reinterpret_cast<const char*>(data), static_cast<int>(size), kNames[0], 5,
                          [] { return 0x0A000001u; }, reply);
    NbnsResponder::answer(reinterpret_cast<const char*>(data), static_cast<int>(size), kNames[1], 0,
                          [] { return 0x0A000001u; }, reply);
    return 0;
}
