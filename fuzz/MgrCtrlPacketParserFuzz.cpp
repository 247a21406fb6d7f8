// Manage-control reassembly: the first byte of each chunk gives its length
// and whether the reset timer runs out before it. Every accepted frame must
// be whole, within bounds, and come back unchanged when framed again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzSplit.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"

using MgrCtrl::MgrCtrlPacketParser;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static muduo::net::EventLoop* loop = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        muduo::Logger::setOutput([](const char*, int) {});  // garbage warns on every frame
        return new muduo::net::EventLoop;
    }();
    MgrCtrlPacketParser parser(loop);
    MgrCtrlPacketParser again(loop);
    parser.checkPacket(reinterpret_cast<const char*>(data), static_cast<int>(size));
    fuzz::forEachChunk(data, size, 0x7F, [&](uint8_t control, const uint8_t* bytes, size_t n) {
        if (control & 0x80)
            parser.reset();
        muduo::net::Buffer frame;
        const int result = parser.parse(reinterpret_cast<const char*>(bytes), static_cast<int>(n), frame);
        if (result < 0 || result > 2 || parser.buffered() > MgrCtrlPacketParser::kMaxBuffered)
            std::abort();
        if (result != 0)
            return;
        if (frame.readableBytes() == 0 || frame.readableBytes() > MgrCtrlPacketParser::kMaxDataLength)
            std::abort();
        muduo::net::Buffer framed, back;
        MgrCtrl::MgrCtrlPacketBuilder::buildRetPacket(framed, parser.getChecksumFlag(), frame);
        if (again.parse(framed.peek(), static_cast<int>(framed.readableBytes()), back) != 0 ||
            again.getChecksumFlag() != parser.getChecksumFlag() || back.readableBytes() != frame.readableBytes() ||
            std::memcmp(back.peek(), frame.peek(), frame.readableBytes()) != 0)
            std::abort();
    });
    return 0;
}
