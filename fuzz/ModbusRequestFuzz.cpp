// Modbus/TCP reassembly and request execution: the first byte of each chunk
// gives its length; every reply must be a whole, self-consistent frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSplit.h"
#include "modbus/ModbusController.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "netext/WireReader.h"

namespace
{
void checkReplies(muduo::net::Buffer& reply)
{
    muduo::net::WireReader in(reply);
    uint16_t tid, pid, length;
    while (in.remaining() > 0)
        if (!in.be16(tid) || !in.be16(pid) || !in.be16(length) || length < 3 || !in.skip(length))
            std::abort();
    reply.retrieveAll();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static muduo::net::EventLoop* loop = [] {
        muduo::Logger::setLogLevel(muduo::Logger::FATAL);
        return new muduo::net::EventLoop;
    }();
    static modbus::ModbusController* controller = [] {
        auto* c = new modbus::ModbusController(loop);
        c->init(8);
        c->setOutputControlCallback([](const unsigned char* states, int first, int count) {
            unsigned sum = 0;
            for (int i = 0; i < count; ++i)
                sum += states[i];
            if (first < 0 || count < 1 || first + count > 8 || sum > static_cast<unsigned>(count))
                std::abort();
            return (sum & 1) == 0;  // some writes refused, as a full outlet does
        });
        return c;
    }();

    controller->addParser("fuzz");
    muduo::net::Buffer reply;
    fuzz::forEachChunk(data, size, 0xFF, [&](uint8_t, const uint8_t* bytes, size_t n) {
        controller->parse("fuzz", reinterpret_cast<const char*>(bytes), static_cast<int>(n), reply);
        checkReplies(reply);
    });
    controller->deleteParser("fuzz");
    return 0;
}
