#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <tuple>
#include <vector>

#include "manage_control/parser/MgrCtrlPacketParser.h"
#include "muduo/net/EventLoop.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/TestFrames.h"

using MgrCtrl::MgrCtrlPacketParser;
using test::mgrCtrlFrame;

namespace
{
const std::string kRequest("\x2F\x00\x07\x00\x00\x00\xFF", 7);
const std::string kLongest(MgrCtrlPacketParser::kMaxDataLength, '\x3B');

class MgrCtrlPacketParserTest : public ::testing::Test
{
protected:
    MgrCtrlPacketParserTest() : parser(&loop) {}

    int feed(const std::string& bytes)
    {
        out.retrieveAll();
        return parser.parse(bytes.data(), static_cast<int>(bytes.size()), out);
    }
    std::string data() const { return std::string(out.peek(), out.readableBytes()); }

    muduo::net::EventLoop loop;
    MgrCtrlPacketParser parser;
    muduo::net::Buffer out;
};
}

TEST_F(MgrCtrlPacketParserTest, FrameSplitAnywhereIsReassembled)
{
    const std::string f = mgrCtrlFrame(1, kRequest);
    for (size_t a = 1; a < f.size(); ++a)
    {
        EXPECT_FALSE(parser.checkPacket(f.data(), static_cast<int>(a))) << "checkPacket reads past " << a;
        for (size_t b = a; b < f.size(); ++b)
        {
            EXPECT_EQ(1, feed(f.substr(0, a))) << a;
            EXPECT_EQ(1, feed(f.substr(a, b - a))) << a << "," << b;
            ASSERT_EQ(0, feed(f.substr(b))) << a << "," << b;
            EXPECT_EQ(kRequest, data());
        }
    }
}

TEST_F(MgrCtrlPacketParserTest, ChecksumIsTestedOnlyWhenTheFrameAsks)
{
    // flag byte, checksum (-1 the right one), result, flag the answer mirrors
    for (auto [flag, checksum, result, mirrored] : std::vector<std::tuple<uint8_t, int, int, bool>>{
             {0, 0x55, 0, false}, {1, -1, 0, true}, {2, -1, 0, true}, {1, 0x00, 2, false}, {0x80, 0x12, 2, false}})
    {
        EXPECT_EQ(result, feed(mgrCtrlFrame(flag, kRequest, checksum))) << int(flag);
        EXPECT_EQ(mirrored, parser.getChecksumFlag()) << int(flag);
        EXPECT_EQ(0u, parser.buffered());
    }
}

TEST_F(MgrCtrlPacketParserTest, OneFramePerCallAndLeftoversDroppedAfterOneSecond)
{
    test::LogCapture log;
    const std::string second = mgrCtrlFrame(0, "\x2A");
    ASSERT_EQ(0, feed(mgrCtrlFrame(1, kRequest) + second));
    EXPECT_EQ(kRequest, data());
    EXPECT_EQ(0, feed(""));
    EXPECT_EQ("\x2A", data());
    // A bad frame is skipped by its own length; the good one behind it waits.
    EXPECT_EQ(2, feed(mgrCtrlFrame(1, kRequest, 0) + second));
    EXPECT_TRUE(log.contains("check sum wrong"));
    EXPECT_EQ(second.size(), parser.buffered());
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return parser.buffered() == 0; }, 3.0));
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(), 0.95);
    EXPECT_TRUE(log.contains("packet parse reset"));
}

TEST_F(MgrCtrlPacketParserTest, BadLengthsGarbageAndFloodsAreRefused)
{
    test::LogCapture log;
    const std::string big = mgrCtrlFrame(0, kLongest);
    // bytes, result, bytes left buffered, log line
    for (auto [bytes, result, left, line] : std::vector<std::tuple<std::string, int, size_t, std::string>>{
             {mgrCtrlFrame(0, "") + "\xA4", 2, 0, "packet length reset"},
             {mgrCtrlFrame(0, kLongest + "x").substr(0, 9), 2, 0, "over 262144"},
             {std::string("\xA4\x00\x00\xFF\xFF\xFF\xFF\x00", 8), 2, 0, "packet length reset"},
             {std::string("\xA4\x00\x00\x7F\xFF\xFF\xF9", 7), 2, 0, "over 262144"},
             {big.substr(0, 100), 1, 100, ""},
             {"GET / HTTP/1.0\r\n\r\n", 2, 0, "packet length reset"},
             {std::string("\x00\x01\x02\x00\x00\x00\x01\x2F", 8) + mgrCtrlFrame(0, "\x2A"), 2, 8, "header wrong"},
             {big + big + "x", 2, 0, "packet buffer over"},
         })
    {
        parser.reset();
        log.clear();
        EXPECT_EQ(result, feed(bytes)) << test::hexBytes(bytes.substr(0, 9));
        EXPECT_EQ(left, parser.buffered()) << test::hexBytes(bytes.substr(0, 9));
        EXPECT_TRUE(line.empty() || log.contains(line)) << log.text();
    }
    EXPECT_EQ(0, feed(mgrCtrlFrame(1, kLongest)));
    EXPECT_EQ(kLongest, data());
}

TEST_F(MgrCtrlPacketParserTest, PartialFramesOfAllPeersTogetherStayBounded)
{
    test::LogCapture log;
    const std::string part = mgrCtrlFrame(0, kLongest).substr(0, MgrCtrlPacketParser::kMaxBuffered - 1);
    auto feedTo = [&](MgrCtrlPacketParser& peer, const std::string& bytes) {
        out.retrieveAll();
        return peer.parse(bytes.data(), static_cast<int>(bytes.size()), out);
    };
    // Four almost whole largest frames wait at once; a fifth is dropped.
    std::vector<std::unique_ptr<MgrCtrlPacketParser>> peers;
    for (int i = 0; i < 5; ++i)
    {
        peers.push_back(std::make_unique<MgrCtrlPacketParser>(&loop));
        EXPECT_EQ(i < 4 ? 1 : 2, feedTo(*peers.back(), part)) << i;
    }
    EXPECT_EQ(1, log.count("packets of all peers over 1048604 bytes"));
    EXPECT_EQ(4 * part.size(), MgrCtrlPacketParser::bufferedInAll());
    // Small frames still pass; a dropped partial frame frees its share.
    EXPECT_EQ(0, feedTo(*peers[4], mgrCtrlFrame(1, kRequest)));
    EXPECT_EQ(kRequest, data());
    peers[0]->reset();
    EXPECT_EQ(1, feedTo(*peers[4], part));
    peers.clear();
    EXPECT_EQ(0u, MgrCtrlPacketParser::bufferedInAll());
}
