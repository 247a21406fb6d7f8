#include <gtest/gtest.h>

#include <vector>

#include "PowerModulePacketParser.h"
#include "support/LogCapture.h"
#include "support/TestFrames.h"

namespace
{
using test::Bytes;
using test::pmFrame;

// Meter reply for outlet 3: 230.45 V, 1.05 A, 241.97 W, 70000.25 kWh.
Bytes meterReply(unsigned char port = 3)
{
    return pmFrame(1, {port, 0x00, 0xE6, 0x00, 0x2D, 0x00, 0x01, 0x00, 0x05, 0x00, 0xF1, 0x00, 0x61, 0x00, 0x01, 0x11,
                     0x70, 0x00, 0x19});
}

muduo::Timestamp at(double seconds) { return muduo::Timestamp(static_cast<int64_t>((1000.0 + seconds) * 1e6)); }

void feed(PowerModulePacketParser& p, const Bytes& b, double t, size_t from = 0, size_t to = SIZE_MAX)
{
    if (to > b.size())
        to = b.size();
    p.parsePacket(reinterpret_cast<const char*>(b.data()) + from, static_cast<int>(to - from), at(t));
}

int countFrames(PowerModulePacketParser& p)
{
    int n = 0;
    unsigned char cmd;
    while (p.hasParsedPacket(cmd))
    {
        ++n;
        p.popParsedPacket();
    }
    return n;
}
}

TEST(PowerModulePacketParserTest, MeterReplyInThreeChunksDecodes)
{
    PowerModulePacketParser p;
    Bytes b = meterReply();
    ASSERT_EQ(22u, b.size());
    feed(p, b, 0.0, 0, 5);
    feed(p, b, 0.2, 5, 15);
    unsigned char cmd = 0;
    EXPECT_FALSE(p.hasParsedPacket(cmd));
    feed(p, b, 0.4, 15);
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(1, cmd);
    int port = -1;
    _PowerModuleData d{};
    ASSERT_TRUE(p.getPowerModuleData(&port, &d));
    EXPECT_EQ(3, port);
    EXPECT_EQ(230, d.voltageInt);
    EXPECT_EQ(45, d.voltageFrac);
    EXPECT_EQ(1, d.currentInt);
    EXPECT_EQ(5, d.currentFrac);
    EXPECT_EQ(241, d.powerInt);
    EXPECT_EQ(97, d.powerFrac);
    EXPECT_EQ(70000u, d.energyInt);
    EXPECT_EQ(25, d.energyFrac);
    EXPECT_TRUE(p.getPowerModuleData(nullptr, nullptr));
    p.popParsedPacket();
    EXPECT_FALSE(p.hasParsedPacket(cmd));
}

TEST(PowerModulePacketParserTest, PauseInsideAFrameDropsItAndRescans)
{
    test::LogCapture log;
    PowerModulePacketParser p;
    Bytes b = meterReply();
    feed(p, b, 0.0, 0, 10);
    feed(p, b, 0.2, 10, 20);
    // The last two bytes come 0.5 s later: the partial frame is gone.
    Bytes tail(b.begin() + 20, b.end());
    Bytes relay = pmFrame(2, {4, 1, 0});
    tail.insert(tail.end(), relay.begin(), relay.end());
    feed(p, tail, 0.7);
    EXPECT_TRUE(log.contains("parse reset"));
    unsigned char cmd = 0;
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(2, cmd);
    int port = 0;
    unsigned char action = 9, result = 9;
    ASSERT_TRUE(p.getRelayControlRet(&port, &action, &result));
    EXPECT_EQ(4, port);
    EXPECT_EQ(1, action);
    EXPECT_EQ(0, result);
    p.popParsedPacket();
    EXPECT_FALSE(p.hasParsedPacket(cmd));
}

TEST(PowerModulePacketParserTest, PauseBetweenFramesIsHarmless)
{
    PowerModulePacketParser p;
    feed(p, meterReply(), 0.0);
    feed(p, meterReply(5), 10.0);
    EXPECT_EQ(2, countFrames(p));
}

TEST(PowerModulePacketParserTest, BadChecksumIsDroppedAndNextFrameDecodes)
{
    PowerModulePacketParser p;
    Bytes bad = meterReply();
    bad.back() = static_cast<unsigned char>(bad.back() + 1);
    Bytes good = pmFrame(3, {8, 0x5A, 0xFF});
    bad.insert(bad.end(), good.begin(), good.end());
    feed(p, bad, 0.0);
    unsigned char cmd = 0;
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(3, cmd);
    int count = 0;
    unsigned char on = 0, cal = 0;
    ASSERT_TRUE(p.getOutputQueryRet(&count, &on, &cal));
    EXPECT_EQ(8, count);
    EXPECT_EQ(0x5A, on);
    EXPECT_EQ(0xFF, cal);
    p.popParsedPacket();
    EXPECT_EQ(0, countFrames(p));
}

TEST(PowerModulePacketParserTest, InvalidCommandResynchronisesOnNextHeader)
{
    test::LogCapture log;
    PowerModulePacketParser p;
    Bytes b = {0x00, 0x13, 0xA5, 0x07};
    Bytes good = pmFrame(3, {8, 1, 2});
    b.insert(b.end(), good.begin(), good.end());
    feed(p, b, 0.0);
    EXPECT_TRUE(log.contains("invalid data:0x07"));
    unsigned char cmd = 0;
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(3, cmd);
    p.popParsedPacket();
    EXPECT_EQ(0, countFrames(p));
}

TEST(PowerModulePacketParserTest, HeaderByteInsidePayloadIsPayload)
{
    PowerModulePacketParser p;
    feed(p, pmFrame(4, {0xA5, 0xA5, 0x00, 0xA5, 0x12, 0x34, 0x01}), 0.0);
    unsigned short v = 0, c = 0, pw = 0;
    unsigned char r = 0;
    ASSERT_TRUE(p.getRequestCaliParamRet(&v, &c, &pw, &r));
    EXPECT_EQ(0xA5A5, v);
    EXPECT_EQ(0x00A5, c);
    EXPECT_EQ(0x1234, pw);
    EXPECT_EQ(1, r);
}

TEST(PowerModulePacketParserTest, FramesInOneChunkComeOutInOrder)
{
    PowerModulePacketParser p;
    Bytes b = pmFrame(5, {0});
    Bytes s = pmFrame(6, {255, 1});
    b.insert(b.end(), s.begin(), s.end());
    feed(p, b, 0.0);
    unsigned char cmd = 0, result = 9;
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(5, cmd);
    ASSERT_TRUE(p.getTransferCaliParamRet(&result));
    EXPECT_EQ(0, result);
    p.popParsedPacket();
    ASSERT_TRUE(p.hasParsedPacket(cmd));
    EXPECT_EQ(6, cmd);
    int port = 0;
    ASSERT_TRUE(p.getStartCalibrateRet(&port, &result));
    EXPECT_EQ(255, port);
    EXPECT_EQ(1, result);
}

TEST(PowerModulePacketParserTest, RingKeepsThirtyOneFramesAndDropsTheRest)
{
    PowerModulePacketParser p;
    for (int i = 0; i < 40; ++i)
        feed(p, pmFrame(2, {static_cast<unsigned char>(i % 8), 1, 0}), 0.0);
    EXPECT_EQ(PowerModulePacketParser::kSlots - 1, countFrames(p));
    // Room again after popping.
    feed(p, pmFrame(5, {0}), 0.1);
    EXPECT_EQ(1, countFrames(p));
}

TEST(PowerModulePacketParserTest, GettersRefuseWhenNothingWaitsOrTheFrameIsShort)
{
    PowerModulePacketParser p;
    int port = 0;
    EXPECT_FALSE(p.getPowerModuleData(&port, nullptr));
    EXPECT_FALSE(p.getRelayControlRet(&port, nullptr, nullptr));
    feed(p, pmFrame(5, {0}), 0.0);
    // A transfer reply is far too short for a meter reading.
    EXPECT_FALSE(p.getPowerModuleData(&port, nullptr));
    EXPECT_FALSE(p.getRequestCaliParamRet(nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(p.getTransferCaliParamRet(nullptr));
}

TEST(PowerModulePacketParserTest, EveryTruncationAndGarbageIsSafe)
{
    Bytes whole = meterReply();
    for (size_t cut = 0; cut < whole.size(); ++cut)
    {
        PowerModulePacketParser p;
        feed(p, whole, 0.0, 0, cut);
        EXPECT_EQ(0, countFrames(p)) << cut;
    }
    PowerModulePacketParser p;
    unsigned int seed = 7;
    Bytes noise(4096);
    for (auto& b : noise)
    {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<unsigned char>(seed >> 16);
    }
    feed(p, noise, 0.0);
    unsigned char cmd;
    while (p.hasParsedPacket(cmd))
    {
        p.getPowerModuleData(nullptr, nullptr);
        p.getRequestCaliParamRet(nullptr, nullptr, nullptr, nullptr);
        p.popParsedPacket();
    }
    p.parsePacket(nullptr, 5, at(0.1));
    p.parsePacket("x", -1, at(0.1));
    feed(p, meterReply(), 2.0);
    EXPECT_EQ(1, countFrames(p));
}
