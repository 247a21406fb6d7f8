// Feeds arbitrary serial bytes, in arbitrary chunks, through the cascade
// frame reassembler, and every whole input through the frame check.
#include <cstddef>
#include <cstdint>

#include "FuzzSplit.h"
#include "cascade/parser/CascadeCtrlPacketParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static muduo::net::EventLoop* loop = [] {
        muduo::Logger::setOutput([](const char*, int) {});  // every rejection logs a warning
        return new muduo::net::EventLoop;
    }();
    CascadeCtrl::CascadeCtrlPacketParser parser(loop);
    int address = 0, sequence = 0;
    parser.checkPacket(reinterpret_cast<const char*>(data), static_cast<int>(size), address, sequence);
    // Each chunk: one control byte (length in the low 6 bits), then the bytes.
    fuzz::forEachChunk(data, size, 0x3F, [&](uint8_t, const uint8_t* bytes, size_t n) {
        muduo::net::Buffer payload;
        parser.parse(reinterpret_cast<const char*>(bytes), static_cast<int>(n), address, sequence, payload);
    });
    return 0;
}
