// The cascade frame codec: CRC, the writer, and the reassembler fed the way
// the serial line feeds it.
#include <gtest/gtest.h>

#include <chrono>

#include "cascade/parser/CRC_8.h"
#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "cascade/parser/CascadeCtrlPacketParser.h"
#include "muduo/net/EventLoop.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/TestFrames.h"

namespace
{
using test::Bytes;
using muduo::net::Buffer;

Bytes bytesOf(const Buffer& b) { return Bytes(b.peek(), b.peek() + b.readableBytes()); }

// The example frame: address 2, sequence 0x1234, payload 07 00 01.
const Bytes kExample = {0xA5, 0x02, 0x12, 0x34, 0x11, 0x00, 0x00, 0x00, 0x03,
                        0xFF, 0xFF, 0xFF, 0xFC, 0x07, 0x00, 0x01};

class CascadeCtrlPacketParserTest : public ::testing::Test
{
protected:
    int feed(const Bytes& b, size_t from = 0, size_t to = SIZE_MAX)
    {
        to = std::min(to, b.size());
        payload = Buffer();
        payload.append("stale", 5);
        return parser.parse(reinterpret_cast<const char*>(b.data()) + from, static_cast<int>(to - from), address,
                            sequence, payload);
    }

    muduo::net::EventLoop loop;
    CascadeCtrl::CascadeCtrlPacketParser parser{&loop};
    int address = -1;
    int sequence = -1;
    Buffer payload;
};
}

TEST(CascadeCtrlCodecTest, CrcAndFrameWriterMatchTheExamples)
{
    EXPECT_EQ(0xF4, CRC::CRC_8().compute("123456789", 9));
    EXPECT_EQ(0x00, CRC::CRC_8().compute("", 0));
    CascadeCtrl::CascadeCtrlPacketBuilder builder;
    Buffer payload, out;
    payload.append("\x07\x00\x01", 3);
    out.append("old", 3);
    builder.buildPacket(out, 2, 0x1234, payload);
    EXPECT_EQ(kExample, bytesOf(out));
    EXPECT_EQ(3u, payload.readableBytes());  // read, not consumed
    builder.buildPacket(out, 0x102, 0x12345, Buffer());
    EXPECT_EQ(test::cascadeFrame(2, 0x2345, {}), bytesOf(out));
}

TEST_F(CascadeCtrlPacketParserTest, FrameReassemblesAcrossEverySplit)
{
    const Bytes frame = test::cascadeFrame(7, 0xBEEF, Bytes(40, 0x5A));
    for (size_t cut = 1; cut < frame.size(); ++cut)
    {
        ASSERT_EQ(1, feed(frame, 0, cut)) << cut;
        ASSERT_EQ(0, feed(frame, cut)) << cut;
        EXPECT_EQ(7, address);
        EXPECT_EQ(0xBEEF, sequence);
        EXPECT_EQ(Bytes(40, 0x5A), bytesOf(payload));
    }
    for (size_t i = 0; i + 1 < kExample.size(); ++i)
        ASSERT_EQ(1, feed(kExample, i, i + 1));
    ASSERT_EQ(0, feed(kExample, kExample.size() - 1));
    EXPECT_EQ(Bytes({0x07, 0x00, 0x01}), bytesOf(payload));
}

TEST_F(CascadeCtrlPacketParserTest, EmptyPayloadAndTwoFramesInOneChunk)
{
    const Bytes empty = {0xA5, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(0, feed(empty));
    EXPECT_EQ(0u, payload.readableBytes());
    Bytes two = kExample;
    const Bytes second = test::cascadeFrame(3, 9, {0x14});
    two.insert(two.end(), second.begin(), second.end());
    ASSERT_EQ(0, feed(two));
    EXPECT_EQ(2, address);
    ASSERT_EQ(0, feed({}));
    EXPECT_EQ(3, address);
    EXPECT_EQ(Bytes({0x14}), bytesOf(payload));
}

TEST_F(CascadeCtrlPacketParserTest, BadFramesAreDroppedWithTheirReason)
{
    Bytes badCrc = kExample, badStart = kExample, noComplement = kExample, halfComplement = kExample;
    badCrc[4] ^= 1;
    badStart[0] = 0xA4;
    for (size_t i = 9; i < 13; ++i)
        noComplement[i] = 0;  // shares no bit with the length, still not its complement
    halfComplement[12] = 0xF0;
    Bytes garbageFirst = {0x01, 0x02, 0x03};
    garbageFirst.insert(garbageFirst.end(), kExample.begin(), kExample.end());
    Bytes huge = test::cascadeFrame(1, 1, {});
    huge[5] = 0x7F, huge[9] = 0x80;  // length 0x7F000000 with its exact complement
    const struct
    {
        Bytes frame;
        const char* line;
    } cases[] = {{badCrc, "crc wrong"},       {badStart, "header wrong"},     {noComplement, "size invalid"},
                 {halfComplement, "size invalid"}, {garbageFirst, "size invalid"}, {huge, "size invalid"}};
    for (const auto& c : cases)
    {
        test::LogCapture log;
        EXPECT_EQ(2, feed(c.frame)) << c.line;
        EXPECT_TRUE(log.contains(c.line)) << c.line;
        EXPECT_EQ(0, feed(kExample)) << "the next chunk starts afresh after " << c.line;
    }
    test::LogCapture log;
    feed(badCrc);
    EXPECT_TRUE(log.contains("packet wrong"));
    EXPECT_EQ(0u, payload.readableBytes());
}

TEST_F(CascadeCtrlPacketParserTest, BufferNeverGrowsPastItsBound)
{
    const Bytes flood(CascadeCtrl::CascadeCtrlPacketParser::kMaxBuffered + 1, 0xA5);
    test::LogCapture log;
    EXPECT_EQ(2, feed(flood));
    EXPECT_TRUE(log.contains("receive buffer overflow"));
    EXPECT_EQ(0, feed(kExample));
}

TEST_F(CascadeCtrlPacketParserTest, PartialFrameIsDroppedAfterHalfASecondOfSilence)
{
    ASSERT_EQ(1, feed(kExample, 0, 10));
    test::loopUntil(loop, [] { return false; }, 0.3);
    ASSERT_EQ(0, feed(kExample, 10));  // a gap under 0.5 s keeps the start

    test::LogCapture log;
    ASSERT_EQ(1, feed(kExample, 0, 10));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return log.contains("packet parse reset"); }, 2.0));
    EXPECT_EQ(1, feed(kExample, 0, 10));
    EXPECT_EQ(0, feed(kExample, 10));
}

TEST_F(CascadeCtrlPacketParserTest, AFrameCutAfterItsHeaderIsDroppedHalfASecondAfterItsLastByte)
{
    const Bytes frame = test::cascadeFrame(7, 0xBEEF, Bytes(40, 0x5A));
    // The whole header, one payload byte, half the payload, all but the last byte.
    for (size_t cut : {size_t(13), size_t(14), size_t(33), frame.size() - 1})
    {
        test::LogCapture log;
        ASSERT_EQ(1, feed(frame, 0, cut)) << cut;
        const auto fed = std::chrono::steady_clock::now();
        ASSERT_TRUE(test::loopUntil(loop, [&] { return log.contains("packet parse reset"); }, 2.0)) << cut;
        const double quiet = std::chrono::duration<double>(std::chrono::steady_clock::now() - fed).count();
        EXPECT_GE(quiet, 0.45) << cut;
        EXPECT_LT(quiet, 1.5) << cut;
        // Nothing of the cut frame is left to spoil the next one.
        ASSERT_EQ(0, feed(kExample)) << cut;
        EXPECT_EQ(2, address);
        EXPECT_EQ(0x1234, sequence);
        EXPECT_EQ(Bytes({0x07, 0x00, 0x01}), bytesOf(payload));
    }
}

TEST_F(CascadeCtrlPacketParserTest, APayloadStillArrivingWithinHalfASecondIsKept)
{
    const Bytes frame = test::cascadeFrame(7, 0xBEEF, Bytes(40, 0x5A));
    test::LogCapture log;
    // Four pieces 0.3 s apart: 0.9 s from the header to the last byte.
    const size_t cuts[] = {0, 13, 25, 40, frame.size()};
    for (size_t i = 0; i + 2 < sizeof cuts / sizeof cuts[0]; ++i)
    {
        ASSERT_EQ(1, feed(frame, cuts[i], cuts[i + 1])) << cuts[i + 1];
        test::loopUntil(loop, [] { return false; }, 0.3);
    }
    ASSERT_EQ(0, feed(frame, 40));
    EXPECT_EQ(7, address);
    EXPECT_EQ(Bytes(40, 0x5A), bytesOf(payload));
    EXPECT_FALSE(log.contains("packet parse reset"));
}
