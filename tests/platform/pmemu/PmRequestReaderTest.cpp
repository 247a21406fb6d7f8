#include <gtest/gtest.h>

#include "PmRequestReader.h"

using pmemu::PmRequest;
using pmemu::PmRequestReader;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

namespace
{
std::vector<PmRequest> feed(PmRequestReader& reader, const Bytes& bytes, Clock::time_point when = Clock::now())
{
    std::vector<PmRequest> out;
    reader.feed(bytes.data(), bytes.size(), when, out);
    return out;
}
}

TEST(PmRequestReaderTest, DecodesEveryRequestOfTheTable)
{
    PmRequestReader reader;
    const auto out = feed(reader, {0xA5, 0x01, 0x03, 0x04,                                // meter, outlet 3
                                   0xA5, 0x01, 0xFF, 0x00,                                // meter, inlet
                                   0xA5, 0x02, 0x02, 0x01, 0x05,                          // outlet 2 on
                                   0xA5, 0x03, 0x03,                                      // output status
                                   0xA5, 0x04, 0x04,                                      // read parameters
                                   0xA5, 0x05, 0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF, 0x4A,  // write parameters
                                   0xA5, 0x06, 0xFF, 0x05});                              // calibrate inlet
    ASSERT_EQ(out.size(), 7u);
    EXPECT_EQ(out[0].command, 1);
    EXPECT_EQ(out[0].payload, Bytes{3});
    EXPECT_EQ(out[1].payload, Bytes{0xFF});
    EXPECT_EQ(out[2].command, 2);
    EXPECT_EQ(out[2].payload, (Bytes{2, 1}));
    EXPECT_EQ(out[3].command, 3);
    EXPECT_TRUE(out[3].payload.empty());
    EXPECT_EQ(out[4].command, 4);
    EXPECT_EQ(out[5].payload, (Bytes{0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF}));
    EXPECT_EQ(out[6].command, 6);
    EXPECT_EQ(out[6].payload, Bytes{0xFF});
    EXPECT_EQ(reader.checksumErrors(), 0u);
}

TEST(PmRequestReaderTest, ReassemblesAnySplitAndSkipsNoise)
{
    const Bytes stream{0x00, 0x17, 0xA5, 0x02, 0x07, 0x00, 0x09, 0x55, 0xA5, 0x01, 0x00, 0x01};
    for (size_t cut = 0; cut <= stream.size(); ++cut)
    {
        PmRequestReader reader;
        auto out = feed(reader, Bytes(stream.begin(), stream.begin() + static_cast<long>(cut)));
        const auto rest = feed(reader, Bytes(stream.begin() + static_cast<long>(cut), stream.end()));
        out.insert(out.end(), rest.begin(), rest.end());
        ASSERT_EQ(out.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(out[0].payload, (Bytes{7, 0}));
        EXPECT_EQ(out[1].payload, Bytes{0});
    }
}

TEST(PmRequestReaderTest, DropsBadChecksumAndResynchronisesAfterBadCommand)
{
    PmRequestReader reader;
    // Checksum off by one, then A5 07 (no such command) followed by a good frame.
    const auto out = feed(reader, {0xA5, 0x01, 0x03, 0x05, 0xA5, 0x07, 0xA5, 0x03, 0x03});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].command, 3);
    EXPECT_EQ(reader.checksumErrors(), 1u);
    EXPECT_EQ(reader.invalidCommands(), 1u);
}

TEST(PmRequestReaderTest, HeaderByteInsidePayloadIsPayload)
{
    PmRequestReader reader;
    // Calibration parameters A5A5, 0000, 0000: checksum 05 + A5 + A5 = 0x4F.
    const auto out = feed(reader, {0xA5, 0x05, 0xA5, 0xA5, 0x00, 0x00, 0x00, 0x00, 0x4F});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].payload, (Bytes{0xA5, 0xA5, 0, 0, 0, 0}));
}

TEST(PmRequestReaderTest, StalePartialFrameIsDropped)
{
    PmRequestReader reader;
    const Clock::time_point t0 = Clock::now();
    EXPECT_TRUE(feed(reader, {0xA5, 0x02, 0x01}, t0).empty());
    // The rest only 0.5 s later: the old start is gone, the new bytes hold no header.
    EXPECT_TRUE(feed(reader, {0x01, 0x04}, t0 + std::chrono::milliseconds(500)).empty());
    // A gap just below the limit keeps the frame.
    EXPECT_TRUE(feed(reader, {0xA5, 0x02, 0x01}, t0 + std::chrono::milliseconds(1000)).empty());
    const auto out = feed(reader, {0x01, 0x04}, t0 + std::chrono::milliseconds(1499));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].received, t0 + std::chrono::milliseconds(1499));
}
