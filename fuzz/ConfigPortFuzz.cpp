// Config-port reassembly: the first byte of each chunk gives its length and
// the pause before it; every whole frame's fields are read.
#include <cstddef>
#include <cstdint>

#include "ConfigParser.h"
#include "muduo/base/Logging.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return true;
    }();
    (void)quiet;
    ConfigParser parser;
    int64_t now = 1000000000000000;
    size_t pos = 0;
    while (pos < size)
    {
        uint8_t control = data[pos++];
        size_t chunk = control & 0x3F;
        if (chunk > size - pos)
            chunk = size - pos;
        now += (control >> 6) * 300000;  // 0 to 0.9 s
        parser.parsePacket(reinterpret_cast<const char*>(data + pos), static_cast<int>(chunk), muduo::Timestamp(now));
        pos += chunk;
        unsigned char code = 0;
        while (parser.hasParsedPacket(code))
        {
            char a[ConfigParser::kTextSize + 1], b[ConfigParser::kTextSize + 1], c[ConfigParser::kTextSize + 1];
            char mac[6];
            int value = 0;
            parser.getMac(&value, mac);
            parser.getUid(a);
            parser.getUid(a, b, c);
            parser.popParsedPacket();
        }
    }
    return 0;
}
