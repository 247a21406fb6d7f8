#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "PowerModulePacketBuilder.h"

namespace
{
typedef std::vector<unsigned char> Bytes;
typedef std::function<int(unsigned char*, int)> Build;

struct Golden
{
    const char* name;
    Build build;
    Bytes frame;
};

std::vector<Golden> goldens()
{
    typedef PowerModulePacketBuilder B;
    return {
        {"meter outlet 3", [](unsigned char* o, int n) { return B::buildMeterDataQueryPacket(o, n, 3); },
         {0xA5, 0x01, 0x03, 0x04}},
        {"meter inlet", [](unsigned char* o, int n) { return B::buildMeterDataQueryPacket(o, n, 255); },
         {0xA5, 0x01, 0xFF, 0x00}},
        {"meter port cut to 8 bits", [](unsigned char* o, int n) { return B::buildMeterDataQueryPacket(o, n, 0x102); },
         {0xA5, 0x01, 0x02, 0x03}},
        {"relay outlet 2 on", [](unsigned char* o, int n) { return B::buildRelayControlPacket(o, n, 2, 1); },
         {0xA5, 0x02, 0x02, 0x01, 0x05}},
        {"relay outlet 7 off", [](unsigned char* o, int n) { return B::buildRelayControlPacket(o, n, 7, 0); },
         {0xA5, 0x02, 0x07, 0x00, 0x09}},
        {"output status", [](unsigned char* o, int n) { return B::buildOutputStatusQueryPacket(o, n); },
         {0xA5, 0x03, 0x03}},
        {"request cali params", [](unsigned char* o, int n) { return B::buildRequestCaliParamPacket(o, n); },
         {0xA5, 0x04, 0x04}},
        {"transfer cali params",
         [](unsigned char* o, int n) { return B::buildTransferCaliParamPacket(o, n, 0x1234, 0x0001, 0xFFFF); },
         {0xA5, 0x05, 0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF, 0x4A}},
        {"start calibration inlet", [](unsigned char* o, int n) { return B::buildStartCalibrate(o, n, 255); },
         {0xA5, 0x06, 0xFF, 0x05}},
    };
}
}

TEST(PowerModulePacketBuilderTest, NamedBuildersWriteTheGoldenFrames)
{
    for (const Golden& g : goldens())
    {
        unsigned char out[16];
        ASSERT_EQ(static_cast<int>(g.frame.size()), g.build(out, sizeof out)) << g.name;
        EXPECT_EQ(g.frame, Bytes(out, out + g.frame.size())) << g.name;
    }
}

TEST(PowerModulePacketBuilderTest, NamedBuildersEqualTheGeneralRule)
{
    for (const Golden& g : goldens())
    {
        unsigned char out[16];
        Bytes payload(g.frame.begin() + 2, g.frame.end() - 1);
        int n = PowerModulePacketBuilder::buildPacket(out, sizeof out, g.frame[1], payload.data(),
                                                      static_cast<int>(payload.size()));
        ASSERT_EQ(static_cast<int>(g.frame.size()), n) << g.name;
        EXPECT_EQ(g.frame, Bytes(out, out + n)) << g.name;
    }
}

TEST(PowerModulePacketBuilderTest, ShortBufferWritesNothing)
{
    for (const Golden& g : goldens())
    {
        unsigned char out[16];
        std::fill(out, out + sizeof out, 0xEE);
        EXPECT_EQ(-1, g.build(out, static_cast<int>(g.frame.size()) - 1)) << g.name;
        EXPECT_EQ(Bytes(16, 0xEE), Bytes(out, out + 16)) << g.name;
        EXPECT_EQ(static_cast<int>(g.frame.size()), g.build(out, static_cast<int>(g.frame.size()))) << g.name;
    }
    unsigned char out[5];
    EXPECT_EQ(-1, PowerModulePacketBuilder::buildRelayControlPacket(out, 4, 1, 1));
    EXPECT_EQ(5, PowerModulePacketBuilder::buildRelayControlPacket(out, 5, 1, 1));
}

TEST(PowerModulePacketBuilderTest, GeneralRuleRefusesBadArguments)
{
    unsigned char out[8];
    EXPECT_EQ(3, PowerModulePacketBuilder::buildPacket(out, 3, 9, nullptr, 0));
    EXPECT_EQ(9, out[2]);  // an empty payload: the checksum is the command
    EXPECT_EQ(-1, PowerModulePacketBuilder::buildPacket(out, 8, 1, nullptr, 2));
    EXPECT_EQ(-1, PowerModulePacketBuilder::buildPacket(out, 8, 1, out, -1));
    EXPECT_EQ(-1, PowerModulePacketBuilder::buildPacket(nullptr, 8, 1, nullptr, 0));
    EXPECT_EQ(-1, PowerModulePacketBuilder::buildPacket(out, 8, 1, out, 0x7FFFFFFF));
}
