// Feeds arbitrary serial bytes, in arbitrary chunks and pauses, through the
// power-module reply reassembler and decodes every frame it yields.
#include <cstddef>
#include <cstdint>

#include "FuzzSplit.h"
#include "PowerModulePacketParser.h"
#include "muduo/base/Logging.h"

namespace
{
void drain(PowerModulePacketParser& parser)
{
    unsigned char cmd = 0;
    int port = 0, count = 0;
    unsigned char a = 0, b = 0, c = 0;
    unsigned short v = 0, i = 0, p = 0;
    _PowerModuleData data;
    while (parser.hasParsedPacket(cmd))
    {
        parser.getPowerModuleData(&port, &data);
        parser.getRelayControlRet(&port, &a, &b);
        parser.getOutputQueryRet(&count, &a, &c);
        parser.getRequestCaliParamRet(&v, &i, &p, &a);
        parser.getTransferCaliParamRet(&a);
        parser.getStartCalibrateRet(&port, &a);
        parser.popParsedPacket();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        muduo::Logger::setLogLevel(muduo::Logger::WARN);
        return true;
    }();
    (void)quiet;
    PowerModulePacketParser parser;
    int64_t now = 1000000000;
    // Each chunk: one control byte (length in the low 5 bits, a pause when
    // the top bit is set), then up to that many bytes of line data.
    fuzz::forEachChunk(data, size, 0x1F, [&](uint8_t control, const uint8_t* bytes, size_t n) {
        now += (control & 0x80) ? 600000 : 1000;
        parser.parsePacket(reinterpret_cast<const char*>(bytes), static_cast<int>(n), muduo::Timestamp(now));
        if (control & 0x40)
            drain(parser);
    });
    drain(parser);
    return 0;
}
