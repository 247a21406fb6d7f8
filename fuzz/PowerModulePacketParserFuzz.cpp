// Feeds arbitrary serial bytes, in arbitrary chunks and pauses, through the
// power-module reply reassembler, decodes every frame it yields and answers
// the line's ledger with it, between frames sent, lost and dropped past the
// ledger's room.
#include <cstddef>
#include <cstdint>

#include "AwaitedReplies.h"
#include "FuzzSplit.h"
#include "PowerModulePacketParser.h"
#include "muduo/base/Logging.h"

namespace
{
void drain(PowerModulePacketParser& parser, AwaitedReplies& ledger, int64_t now)
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
        uint32_t key = 0;
        AwaitedReplies::Answer answered{-1, -1, 0, false};
        if (parser.getReplyKey(&key))
        {
            ledger.answer(key, muduo::Timestamp(now), &answered);
            ledger.asks(key);
        }
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
    AwaitedReplies ledger(0.2, 1920);
    int64_t now = 1000000000;
    // Each chunk: one control byte (length in the low 5 bits, a pause when
    // the top bit is set), then up to that many bytes of line data.
    fuzz::forEachChunk(data, size, 0x1F, [&](uint8_t control, const uint8_t* bytes, size_t n) {
        now += (control & 0x80) ? 600000 : 1000;
        // A frame out, asking what the chunk's first bytes would answer; relay frames exact.
        if ((control & 0x20) && n >= 2)
        {
            const unsigned char cmd = static_cast<unsigned char>(bytes[0] % 7);
            ledger.sent(PowerModulePacketParser::replyKey(cmd, bytes[1], n & 1), control,
                        PowerModulePacketParser::replyLength(cmd), muduo::Timestamp(now),
                        cmd == powermodule::kRelayControl, static_cast<uint64_t>(now));
        }
        parser.parsePacket(reinterpret_cast<const char*>(bytes), static_cast<int>(n), muduo::Timestamp(now));
        if (control & 0x40)
            drain(parser, ledger, now);
        ledger.owed();
        ledger.quietFrom();
        ledger.holds(control, 0x3F);
        ledger.replyComing(control, 0x3F, muduo::Timestamp(now));
        ledger.takeMarker();
    });
    drain(parser, ledger, now);
    return 0;
}
