#include <gtest/gtest.h>

#include <string>

#include "ConfigPacketBuilder.h"
#include "ConfigParser.h"
#include "support/LogCapture.h"
#include "support/TestFrames.h"

using muduo::Timestamp;

using test::configFrame;
using test::configField;

namespace
{
Timestamp at(double seconds) { return Timestamp(static_cast<int64_t>(seconds * 1e6) + 1000000000000000); }

void feed(ConfigParser& p, const std::string& bytes, double when)
{
    p.parsePacket(bytes.data(), static_cast<int>(bytes.size()), at(when));
}
}

TEST(ConfigParser, ReadsTheFieldsOfEachCode)
{
    ConfigParser p;
    std::string mac = std::string("\x00\x07", 2) + "\x02\x1A\x2B\x3C\x4D\x5E";
    feed(p, configFrame(15, mac), 0);
    unsigned char code = 0;
    ASSERT_TRUE(p.hasParsedPacket(code));
    EXPECT_EQ(15, code);
    int value = 0;
    char out[6];
    ASSERT_TRUE(p.getMac(&value, out));
    EXPECT_EQ(7, value);
    EXPECT_EQ(std::string("\x02\x1A\x2B\x3C\x4D\x5E"), std::string(out, 6));
    p.popParsedPacket();
    EXPECT_FALSE(p.hasParsedPacket(code));

    feed(p, configFrame(18, configField("G020300000000099") + configField("Rack A") + configField("RACKA")), 1);
    ASSERT_TRUE(p.hasParsedPacket(code));
    EXPECT_EQ(18, code);
    char uid[17], name[17], nb[17];
    ASSERT_TRUE(p.getUid(uid, name, nb));
    EXPECT_STREQ("G020300000000099", uid);  // all 16 bytes used, still terminated
    EXPECT_STREQ("Rack A", name);
    EXPECT_STREQ("RACKA", nb);
}

TEST(ConfigParser, FrameTooShortForItsCodeYieldsNothing)
{
    ConfigParser p;
    feed(p, configFrame(18, configField("G020300000000099") + configField("Rack A") + configField("RACKA")), 0);
    p.popParsedPacket();
    // a code 16 frame with a single data byte must not read the old identity
    feed(p, configFrame(16, "X"), 1);
    unsigned char code = 0;
    ASSERT_TRUE(p.hasParsedPacket(code));
    char uid[17] = "unchanged";
    EXPECT_FALSE(p.getUid(uid));
    char name[17], nb[17];
    EXPECT_FALSE(p.getUid(uid, name, nb));
    int value = 0;
    char mac[6];
    EXPECT_FALSE(p.getMac(&value, mac));
}

TEST(ConfigParser, ReassemblesAcrossChunksWithinHalfASecond)
{
    ConfigParser p;
    std::string f = configFrame(16, configField("ABC"));
    feed(p, f.substr(0, 7), 0.0);
    feed(p, f.substr(7), 0.49);
    unsigned char code = 0;
    EXPECT_TRUE(p.hasParsedPacket(code));

    ConfigParser late;
    feed(late, f.substr(0, 7), 0.0);
    feed(late, f.substr(7), 0.5);
    EXPECT_FALSE(late.hasParsedPacket(code));
}

TEST(ConfigParser, SkipsNoiseAndRejectsBadLengths)
{
    test::LogCapture log;
    ConfigParser p;
    feed(p, std::string("\x01\x02", 2) + configFrame(16, configField("A")), 0);
    EXPECT_EQ(2, log.count("invalid data:0x0"));
    unsigned char code = 0;
    ASSERT_TRUE(p.hasParsedPacket(code));
    p.popParsedPacket();

    // length 50 does not fit a slot; the rest of the bytes are noise
    feed(p, std::string("\xA4\x32\x10", 3), 1);
    EXPECT_TRUE(log.contains("invalid data:0x32"));
    EXPECT_FALSE(p.hasParsedPacket(code));
    // length 0 carries no code
    feed(p, std::string("\xA4\x00", 2), 2);
    EXPECT_FALSE(p.hasParsedPacket(code));
}

TEST(ConfigParser, FullRingDropsNewFramesInsteadOfOverwriting)
{
    ConfigParser p;
    std::string all;
    for (int i = 0; i < 5; ++i)
        all += configFrame(static_cast<uint8_t>(20 + i), "x");
    feed(p, all, 0);
    unsigned char code = 0;
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(p.hasParsedPacket(code));
        EXPECT_EQ(20 + i, code);
        p.popParsedPacket();
    }
    EXPECT_FALSE(p.hasParsedPacket(code));
}

TEST(ConfigPacketBuilder, RepliesAreTwentyBytes)
{
    unsigned char out[20];
    ASSERT_EQ(20, ConfigPacketBuilder::buildSetUidRetPacket(out, 20, 0, "ignored"));
    std::string expected = std::string("\xA4\x12\x10\x00", 4) + std::string(16, '\0');
    EXPECT_EQ(expected, std::string(reinterpret_cast<char*>(out), 20));
    ASSERT_EQ(20, ConfigPacketBuilder::buildSetMacRetPacket(out, 32, 1, nullptr));
    EXPECT_EQ(15, out[2]);
    EXPECT_EQ(1, out[3]);
    ASSERT_EQ(20, ConfigPacketBuilder::buildSetUidExtRetPacket(out, 20, 0, nullptr));
    EXPECT_EQ(18, out[2]);
    EXPECT_EQ(-1, ConfigPacketBuilder::buildSetUidRetPacket(out, 19, 0, nullptr));
}
