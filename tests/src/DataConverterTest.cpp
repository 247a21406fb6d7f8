#include "DataConverter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const double kNoReading = 2147483648.0;
}

TEST(DataConverterTest, ToWireTruncatesWithoutRounding)
{
    EXPECT_EQ(28, DataConverter::FactorDoubleToInt(0.29));
    EXPECT_EQ(56, DataConverter::FactorDoubleToInt(0.57));
    EXPECT_EQ(2293, DataConverter::VoltageDoubleToInt(229.3));
    EXPECT_EQ(1234u, DataConverter::EnergyDoubleToInt(12.349));
    EXPECT_EQ(15u, DataConverter::PowerDoubleToInt(1.59));
    EXPECT_EQ(99, DataConverter::CurrentDoubleToInt(0.999));
    EXPECT_EQ(455, DataConverter::HumiDoubleToInt(45.58));
}

TEST(DataConverterTest, NoReadingEncodingsBothWays)
{
    EXPECT_EQ(0xFFFF, DataConverter::VoltageDoubleToInt(kNoReading));
    EXPECT_EQ(0xFFFF, DataConverter::CurrentDoubleToInt(kNoReading + 1e-6));
    EXPECT_EQ(-32768, DataConverter::TempDoubleToInt(kNoReading));
    EXPECT_EQ(0x8000, DataConverter::HumiDoubleToInt(kNoReading));

    EXPECT_EQ(kNoReading, DataConverter::VoltageIntToDouble(0xFFFF));
    EXPECT_EQ(kNoReading, DataConverter::CurrentIntToDouble(0xFFFF));
    EXPECT_EQ(kNoReading, DataConverter::TempIntToDouble(-32768));
    EXPECT_EQ(kNoReading, DataConverter::HumiIntToDouble(0x8000));
    EXPECT_DOUBLE_EQ(3276.7, DataConverter::HumiIntToDouble(32767));

    // The largest encodable readings collide with the code; above, they wrap.
    EXPECT_EQ(0xFFFF, DataConverter::VoltageDoubleToInt(6553.5));
    EXPECT_EQ(0xFFFF, DataConverter::CurrentDoubleToInt(655.35));
    EXPECT_EQ(kNoReading, DataConverter::VoltageIntToDouble(DataConverter::VoltageDoubleToInt(6553.5)));
    EXPECT_EQ(4, DataConverter::VoltageDoubleToInt(6554.0));
    EXPECT_EQ(0, DataConverter::CurrentDoubleToInt(655.36));
}

TEST(DataConverterTest, NegativeValues)
{
    EXPECT_EQ(-123, DataConverter::TempDoubleToInt(-12.34));
    EXPECT_DOUBLE_EQ(-12.3, DataConverter::TempIntToDouble(-123));
    EXPECT_EQ(-32768, DataConverter::TempDoubleToInt(-3276.8));
    EXPECT_EQ(0, DataConverter::TempDoubleToInt(-0.05));

    EXPECT_EQ(0, DataConverter::VoltageDoubleToInt(-1.0));
    EXPECT_EQ(0, DataConverter::CurrentDoubleToInt(-0.5));
    EXPECT_EQ(0u, DataConverter::PowerDoubleToInt(-100.0));
    EXPECT_EQ(0, DataConverter::FactorDoubleToInt(-0.3));
    EXPECT_EQ(0u, DataConverter::EnergyDoubleToInt(-2.0));
    EXPECT_EQ(0, DataConverter::HumiDoubleToInt(-4.0));
}

TEST(DataConverterTest, WideValuesWrapInsteadOfOverflowing)
{
    EXPECT_EQ(4294967295u, DataConverter::EnergyDoubleToInt(42949672.95));
    EXPECT_EQ(0u, DataConverter::EnergyDoubleToInt(42949672.96));
    EXPECT_EQ(0u, DataConverter::PowerDoubleToInt(1e300));
    EXPECT_EQ(0u, DataConverter::PowerDoubleToInt(std::nan("")));
    EXPECT_EQ(0, DataConverter::CurrentDoubleToInt(1e307));  // scaled past the largest double
    EXPECT_EQ(0, DataConverter::TempDoubleToInt(-1e308));
}

TEST(DataConverterTest, FromWireScalesByFraction)
{
    EXPECT_DOUBLE_EQ(229.3, DataConverter::VoltageIntToDouble(2293));
    EXPECT_DOUBLE_EQ(12.5, DataConverter::CurrentIntToDouble(1250));
    EXPECT_DOUBLE_EQ(429496729.5, DataConverter::PowerIntToDouble(4294967295u));
    EXPECT_DOUBLE_EQ(0.99, DataConverter::FactorIntToDouble(99));
    EXPECT_DOUBLE_EQ(123.45, DataConverter::EnergyIntToDouble(12345));
    EXPECT_EQ(2293 * 0.1, DataConverter::VoltageIntToDouble(2293));
}

TEST(DataConverterTest, DelayNoValue)
{
    EXPECT_EQ(-1, DataConverter::DelayNetToLocal(0xFFFF));
    EXPECT_EQ(0, DataConverter::DelayNetToLocal(0));
    EXPECT_EQ(65534, DataConverter::DelayNetToLocal(0xFFFE));
}
