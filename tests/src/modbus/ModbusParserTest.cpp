#include <gtest/gtest.h>

#include <chrono>

#include "ModbusFrames.h"
#include "modbus/ModbusController.h"
#include "modbus/ModbusParser.h"
#include "muduo/net/EventLoop.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"

using namespace mbtest;

namespace
{
class ModbusParserTest : public ::testing::Test
{
protected:
    ModbusParserTest() : controller(&loop), parser(&loop, &controller)
    {
        controller.init(8);
        controller.setOutputNum(8);
    }

    std::vector<Reply> feed(const std::string& bytes)
    {
        muduo::net::Buffer reply;
        parser.parse(bytes.data(), static_cast<int>(bytes.size()), reply);
        return takeReplies(reply);
    }
    void runFor(double s) { test::loopUntil(loop, [] { return false; }, s); }

    static std::string readCount(uint16_t tid) { return frame(4, be16s({6, 1}), tid); }

    muduo::net::EventLoop loop;
    modbus::ModbusController controller;
    modbus::ModbusParser parser;
};
}

TEST_F(ModbusParserTest, TwoFramesInOneSegmentAreAnsweredInOrder)
{
    std::vector<Reply> r = feed(readCount(1) + frame(1, be16s({0, 1}), 2) + readCount(3));
    ASSERT_EQ(3u, r.size());
    EXPECT_EQ(1, r[0].tid);
    EXPECT_EQ((std::vector<uint16_t>{8}), registers(r[0]));
    EXPECT_EQ(2, r[1].tid);
    EXPECT_EQ(0x81, r[1].fc);
    EXPECT_EQ(3, r[2].tid);
    EXPECT_EQ(0u, parser.buffered());
}

TEST_F(ModbusParserTest, SplitFrameIsReassembledWithinTheResetTime)
{
    const std::string request = readCount(7);
    for (size_t cut = 1; cut < request.size(); ++cut)
    {
        EXPECT_TRUE(feed(request.substr(0, cut)).empty()) << cut;
        std::vector<Reply> r = feed(request.substr(cut));
        ASSERT_EQ(1u, r.size()) << cut;
        EXPECT_EQ(7, r[0].tid);
    }
    EXPECT_TRUE(feed(request.substr(0, 3)).empty());
    runFor(0.5);
    EXPECT_EQ(1u, feed(request.substr(3)).size());
}

TEST_F(ModbusParserTest, HalfFrameIsDroppedAfterOneSecond)
{
    test::LogCapture log;
    const std::string request = readCount(9);
    for (size_t cut : {size_t(3), size_t(10)})
    {
        log.clear();
        EXPECT_TRUE(feed(request.substr(0, cut)).empty());
        EXPECT_EQ(cut, parser.buffered());
        auto begin = std::chrono::steady_clock::now();
        ASSERT_TRUE(test::loopUntil(loop, [&] { return parser.buffered() == 0; }, 3.0)) << cut;
        EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(), 0.95);
        EXPECT_TRUE(log.contains("packet parse reset"));
        std::vector<Reply> r = feed(request);
        ASSERT_EQ(1u, r.size());
        EXPECT_EQ(9, r[0].tid);
    }
}

TEST_F(ModbusParserTest, LengthNoModbusFrameHasResetsTheBufferAtOnce)
{
    // MBAP lengths 0 and 1 (no unit id or no function code) and above 254
    // (more than the largest frame): what follows is dropped with them.
    for (uint16_t length : {0, 1, 255, 65535})
    {
        std::string header("\x00\x05\x00\x00", 4);
        header += static_cast<char>(length >> 8);
        header += static_cast<char>(length & 0xFF);
        EXPECT_TRUE(feed(header + "\x01\x04" + readCount(4)).empty()) << length;
        EXPECT_EQ(0u, parser.buffered()) << length;
        ASSERT_EQ(1u, feed(readCount(4)).size()) << length;
    }
    // The largest frame waits whole; only the function code is an illegal value.
    EXPECT_TRUE(feed(frame(3, Bytes(252, 0), 6).substr(0, 259)).empty());
    EXPECT_EQ(259u, parser.buffered());
    EXPECT_EQ(1u, feed(std::string(1, '\0')).size());
    std::vector<Reply> r = feed(frame(4, {}, 5));
    ASSERT_EQ(1u, r.size());
    EXPECT_EQ(3, r[0].exception());
}

TEST_F(ModbusParserTest, AnyProtocolAndUnitIdIsAnsweredWithTheSameIds)
{
    std::vector<Reply> r = feed(frame(4, be16s({6, 1}), 0xABCD, 0xF7, 0x1234));
    ASSERT_EQ(1u, r.size());
    EXPECT_EQ(0xABCD, r[0].tid);
    EXPECT_EQ(0x1234, r[0].pid);
    EXPECT_EQ(0xF7, r[0].uid);
    EXPECT_EQ(5, r[0].length);
}

TEST_F(ModbusParserTest, ControllerKeepsOneParserPerConnection)
{
    const std::string request = readCount(1);
    muduo::net::Buffer reply;
    controller.parse("nobody", request.data(), static_cast<int>(request.size()), reply);
    EXPECT_EQ(0u, reply.readableBytes());

    controller.addParser("a");
    controller.addParser("b");
    controller.parse("a", request.data(), 5, reply);
    controller.addParser("a");  // an existing parser keeps its bytes
    controller.parse("b", request.data(), 5, reply);
    EXPECT_EQ(0u, reply.readableBytes());
    controller.parse("a", request.data() + 5, static_cast<int>(request.size()) - 5, reply);
    EXPECT_EQ(1u, takeReplies(reply).size());

    controller.deleteParser("b");
    controller.parse("b", request.data() + 5, static_cast<int>(request.size()) - 5, reply);
    EXPECT_EQ(0u, reply.readableBytes());
    EXPECT_EQ(1u, controller.parserCount());
}
