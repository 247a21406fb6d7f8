#include <gtest/gtest.h>

#include "PmReplyWriter.h"

using pmemu::PmReading;
using pmemu::PmReplyWriter;
using Bytes = std::vector<uint8_t>;

TEST(PmReplyWriterTest, FixedRepliesMatchTheirLayouts)
{
    EXPECT_EQ(PmReplyWriter::relay(2, 1, 0), (Bytes{0xA5, 0x02, 0x02, 0x01, 0x00, 0x05}));
    EXPECT_EQ(PmReplyWriter::outputStatus(8, 0x04, 0xFF), (Bytes{0xA5, 0x03, 0x08, 0x04, 0xFF, 0x0E}));
    EXPECT_EQ(PmReplyWriter::caliParams(0x1234, 0x0001, 0xFFFF, 0),
              (Bytes{0xA5, 0x04, 0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x49}));
    EXPECT_EQ(PmReplyWriter::transferResult(0), (Bytes{0xA5, 0x05, 0x00, 0x05}));
    EXPECT_EQ(PmReplyWriter::calibrateResult(0xFF, 1), (Bytes{0xA5, 0x06, 0xFF, 0x01, 0x06}));
    EXPECT_EQ(PmReplyWriter::frame(3, {}), (Bytes{0xA5, 0x03, 0x03}));
}

TEST(PmReplyWriterTest, MeterReplySplitsWholeAndHundredths)
{
    PmReading r;
    r.volts = 230.0;
    r.amps = 1.25;
    r.watts = 287.5;
    r.energyHundredths = 1234567;  // 12345.67 kWh
    EXPECT_EQ(PmReplyWriter::meter(3, r),
              (Bytes{0xA5, 0x01, 0x03, 0x00, 0xE6, 0x00, 0x00, 0x00, 0x01, 0x00, 0x19, 0x01, 0x1F,
                     0x00, 0x32, 0x00, 0x00, 0x30, 0x39, 0x00, 0x43, 0x02}));
}

TEST(PmReplyWriterTest, MeterFieldsAreRoundedAndClamped)
{
    uint16_t whole = 0, hundredths = 0;
    PmReplyWriter::splitHundredths(253.099999, whole, hundredths);
    EXPECT_EQ(whole, 253);
    EXPECT_EQ(hundredths, 10);
    PmReplyWriter::splitHundredths(-3.0, whole, hundredths);
    EXPECT_EQ(whole, 0);
    EXPECT_EQ(hundredths, 0);
    PmReplyWriter::splitHundredths(1e9, whole, hundredths);
    EXPECT_EQ(whole, 65535);
    EXPECT_EQ(hundredths, 99);
    // The energy's whole field is 32 bits: 70000.05 kWh does not clamp.
    PmReading r;
    r.energyHundredths = 7000005;
    const Bytes frame = PmReplyWriter::meter(0xFF, r);
    ASSERT_EQ(frame.size(), 22u);
    EXPECT_EQ(Bytes(frame.begin() + 15, frame.begin() + 21), (Bytes{0x00, 0x01, 0x11, 0x70, 0x00, 0x05}));
}
