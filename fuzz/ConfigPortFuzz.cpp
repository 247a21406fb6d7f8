// Config-port reassembly: the first byte of each chunk gives its length and
// the pause before it; every whole frame's fields are read.
#include <cstddef>
#include <cstdint>

#include "ConfigParser.h"
#include "FuzzSplit.h"
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
    fuzz::forEachChunk(data, size, 0x3F, [&](uint8_t control, const uint8_t* bytes, size_t n) {
        now += (control >> 6) * 300000;  // 0 to 0.9 s
        parser.parsePacket(reinterpret_cast<const char*>(bytes), static_cast<int>(n), muduo::Timestamp(now));
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
    });
    return 0;
}
