#include "MeterReading.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
_PowerModuleData data(uint16_t vi, uint16_t vf, uint16_t ai, uint16_t af, uint16_t wi, uint16_t wf, uint32_t ei,
                      uint16_t ef)
{
    return _PowerModuleData{vi, vf, ai, af, wi, wf, ei, ef};
}

MeterReading energyReading(uint32_t hundredths)
{
    return MeterReading(data(230, 0, 1, 0, 230, 0, hundredths / 100, hundredths % 100));
}
}

TEST(MeterReadingTest, ValuesComeFromWholeAndHundredths)
{
    const MeterReading r(data(230, 26, 0, 29, 66, 70, 1234, 56));
    EXPECT_DOUBLE_EQ(230.26, r.volts());
    EXPECT_EQ(29u, r.currentHundredths());
    EXPECT_EQ(6670u, r.powerHundredths());
    EXPECT_EQ(123456u, r.energy());
    EXPECT_EQ(2303, MeterReading::scaled(r.roundedVolts(), 10));  // 230.26 -> 230.3
    EXPECT_EQ(667, MeterReading::scaled(r.roundedWatts(), 10));
    EXPECT_EQ(29, MeterReading::scaled(r.amps(), 100));  // not 28 from a product just below 29
}

TEST(MeterReadingTest, RoundingIsHalfUp)
{
    EXPECT_EQ(2301, MeterReading::scaled(MeterReading(data(230, 5, 0, 0, 0, 0, 0, 0)).roundedVolts(), 10));
    EXPECT_EQ(2300, MeterReading::scaled(MeterReading(data(230, 4, 0, 0, 0, 0, 0, 0)).roundedVolts(), 10));
    EXPECT_EQ(125, MeterReading::scaled(MeterReading(data(0, 0, 0, 0, 12, 45, 0, 0)).roundedWatts(), 10));
}

TEST(MeterReadingTest, FactorIsCappedAndZeroWithoutVoltageOrCurrent)
{
    // 236.9 W at 230 V and 1 A: 1.03 -> 1.0
    EXPECT_DOUBLE_EQ(1.0, MeterReading(data(230, 0, 1, 0, 236, 90, 0, 0)).factor());
    EXPECT_DOUBLE_EQ(0.5, MeterReading(data(200, 0, 1, 0, 100, 0, 0, 0)).factor());
    EXPECT_DOUBLE_EQ(0.0, MeterReading(data(0, 0, 1, 0, 100, 0, 0, 0)).factor());
    EXPECT_DOUBLE_EQ(0.0, MeterReading(data(230, 0, 0, 0, 100, 0, 0, 0)).factor());
}

TEST(MeterReadingTest, BigRiseAcceptedOnlyOnThirdReadingInARow)
{
    int32_t rises = 0;
    EXPECT_FALSE(energyReading(125).acceptEnergy(100, rises));
    EXPECT_FALSE(energyReading(125).acceptEnergy(100, rises));
    EXPECT_TRUE(energyReading(125).acceptEnergy(100, rises));
    EXPECT_EQ(0, rises);
    // An equal reading in between starts the count again.
    EXPECT_FALSE(energyReading(150).acceptEnergy(125, rises));
    EXPECT_FALSE(energyReading(125).acceptEnergy(125, rises));
    EXPECT_EQ(0, rises);
    EXPECT_FALSE(energyReading(150).acceptEnergy(125, rises));
    EXPECT_EQ(1, rises);
}

TEST(MeterReadingTest, SmallRiseAndFallAcceptedAtOnce)
{
    int32_t rises = 2;
    EXPECT_TRUE(energyReading(109).acceptEnergy(100, rises));
    EXPECT_EQ(0, rises);
    rises = 2;
    EXPECT_TRUE(energyReading(3).acceptEnergy(100, rises));
    EXPECT_EQ(0, rises);
    EXPECT_FALSE(energyReading(100).acceptEnergy(100, rises));
}

TEST(MeterReadingTest, RiseNearTheTopOfTheCounterDoesNotWrap)
{
    int32_t rises = 0;
    EXPECT_TRUE(energyReading(UINT32_MAX - 5).acceptEnergy(UINT32_MAX - 9, rises));
    EXPECT_FALSE(MeterReading(data(0, 0, 0, 0, 0, 0, UINT32_MAX, 0)).energyFits());
}

TEST(MeterReadingTest, ScaledHandlesNegativeNanAndHuge)
{
    EXPECT_EQ(-53, MeterReading::scaled(-5.3, 10));
    EXPECT_EQ(0, MeterReading::scaled(std::nan(""), 10));
    EXPECT_EQ(INT32_MAX, MeterReading::scaled(1e12, 10));
}
