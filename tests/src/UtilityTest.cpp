#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "Utility.h"

namespace
{
std::string uid(char outlets, char current) { return std::string("G0") + outlets + "0" + current + "00000000001"; }
}

TEST(UtilityTest, ParseUidOutletCountForEveryCode)
{
    const struct
    {
        char code;
        int outlets;
    } table[] = {{'0', 1},  {'1', 4},  {'2', 8},  {'3', 12}, {'4', 16}, {'5', 20}, {'6', 24}, {'7', 2},
                 {'8', 3},  {'9', 28}, {'A', 32}, {'B', 36}, {'C', 40}, {'D', 44}, {'E', 48}, {'F', 42}};
    for (const auto& row : table)
    {
        int outlets = -1, current = -1;
        ASSERT_TRUE(Utility::parseUid(uid(row.code, '1'), outlets, current)) << row.code;
        EXPECT_EQ(row.outlets, outlets) << row.code;
        EXPECT_EQ(row.outlets, current) << row.code;  // factor 1
    }
}

TEST(UtilityTest, ParseUidMaximumCurrent)
{
    const struct
    {
        char code;
        int current;
    } table[] = {{'F', 32}, {'E', 63}, {'1', 44}, {'2', 132}, {'3', 88}, {'4', 176}, {'9', 396},
                 {'X', 88}, {'0', 88}, {'a', 88}};
    for (const auto& row : table)
    {
        int outlets = 0, current = 0;
        ASSERT_TRUE(Utility::parseUid(uid('D', row.code), outlets, current));
        EXPECT_EQ(44, outlets);
        EXPECT_EQ(row.current, current) << row.code;
    }
}

TEST(UtilityTest, ParseUidRejectsMalformedTextsWithoutWriting)
{
    const std::string good = uid('2', '3');
    int outlets = 0, current = 0;
    ASSERT_TRUE(Utility::parseUid(good, outlets, current));
    EXPECT_EQ(8, outlets);
    EXPECT_EQ(16, current);

    for (const std::string& bad : {good.substr(0, 15), good + "1", "g" + good.substr(1), uid('G', '3'),
                                   uid('a', '3'), std::string(), std::string(16, ' ')})
    {
        int o = -7, c = -9;
        EXPECT_FALSE(Utility::parseUid(bad, o, c)) << bad;
        EXPECT_EQ(-7, o);
        EXPECT_EQ(-9, c);
    }
}

TEST(UtilityTest, Ipv4PackingAndText)
{
    unsigned int ip = Utility::makeIp(192, 168, 1, 10);
    EXPECT_EQ(0xC0A8010Au, ip);
    unsigned char a, b, c, d;
    Utility::extractIp(ip, a, b, c, d);
    EXPECT_EQ(192, a);
    EXPECT_EQ(168, b);
    EXPECT_EQ(1, c);
    EXPECT_EQ(10, d);

    unsigned int net = 0;
    ASSERT_TRUE(Utility::ipStringToNetwork("192.168.1.10", net));
    EXPECT_EQ(htonl(ip), net);
    std::string text = "unchanged";
    ASSERT_TRUE(Utility::ipNetworkToString(net, text));
    EXPECT_EQ("192.168.1.10", text);
    ASSERT_TRUE(Utility::ipNetworkToString(0, text));
    EXPECT_EQ("0.0.0.0", text);

    net = 42;
    for (const char* bad : {"", "1.2.3", "256.1.1.1", "1.2.3.4 ", "a.b.c.d", "1.2.3.4.5"})
    {
        EXPECT_FALSE(Utility::ipStringToNetwork(bad, net)) << bad;
        EXPECT_EQ(42u, net);
    }
}

TEST(UtilityTest, CalendarStepping)
{
    int y = 2100, m = 2, d = 28;
    Utility::nextDay(y, m, d);
    EXPECT_EQ(std::make_tuple(2100, 3, 1), std::make_tuple(y, m, d));
    y = 2000, m = 2, d = 28;
    Utility::nextDay(y, m, d);
    EXPECT_EQ(std::make_tuple(2000, 2, 29), std::make_tuple(y, m, d));
    y = 2023, m = 12, d = 31;
    Utility::nextDay(y, m, d);
    EXPECT_EQ(std::make_tuple(2024, 1, 1), std::make_tuple(y, m, d));
    Utility::prevDay(y, m, d);
    EXPECT_EQ(std::make_tuple(2023, 12, 31), std::make_tuple(y, m, d));

    int h = 0;
    y = 2024, m = 3, d = 1;
    Utility::prevHour(y, m, d, h);
    EXPECT_EQ(std::make_tuple(2024, 2, 29, 23), std::make_tuple(y, m, d, h));
    Utility::nextHour(y, m, d, h);
    EXPECT_EQ(std::make_tuple(2024, 3, 1, 0), std::make_tuple(y, m, d, h));

    y = 2023, m = 11;
    Utility::forwardMonth(y, m, 3);
    EXPECT_EQ(std::make_pair(2024, 2), std::make_pair(y, m));
    Utility::forwardMonth(y, m, 0);
    EXPECT_EQ(std::make_pair(2024, 2), std::make_pair(y, m));
}

TEST(UtilityTest, HexText)
{
    std::string out = "junk";
    Utility::toHexString(out, 10, 2);
    EXPECT_EQ("0A", out);
    Utility::toHexString(out, 0x1FF, 2);
    EXPECT_EQ("FF", out);
    Utility::toHexString(out, 0xAB, 4);
    EXPECT_EQ("00AB", out);
    Utility::toHexString(out, 5, 0);
    EXPECT_EQ("", out);
}

TEST(UtilityTest, ToleranceComparisons)
{
    EXPECT_FALSE(Utility::isGreaterThanDoubleValue(10.000001, 10.0));
    EXPECT_TRUE(Utility::isGreaterThanDoubleValue(10.00002, 10.0));
    EXPECT_FALSE(Utility::isLessThanDoubleValue(9.999999, 10.0));
    EXPECT_TRUE(Utility::isLessThanDoubleValue(9.99998, 10.0));
    EXPECT_TRUE(Utility::isEqualToDoubleValue(10.000001, 10.0));
    EXPECT_TRUE(Utility::isInvalidDoubleValue(2147483648.000001));
    EXPECT_FALSE(Utility::isInvalidDoubleValue(0.0));
}

TEST(UtilityTest, NormalizeUtf8CutCharacter)
{
    // 14 ASCII bytes and the first two bytes of a three-byte character.
    char field[16];
    std::memset(field, 'a', sizeof field);
    field[14] = '\xE4';
    field[15] = '\xB8';
    Utility::normalizeUtf8String(field, 16);
    EXPECT_EQ(0, field[14]);
    EXPECT_EQ(0, field[15]);
    EXPECT_EQ('a', field[13]);

    // A complete character ending at the field end stays.
    std::memset(field, 'a', sizeof field);
    field[13] = '\xE4';
    field[14] = '\xB8';
    field[15] = '\xAD';
    Utility::normalizeUtf8String(field, 16);
    EXPECT_EQ('\xAD', field[15]);

    // A four-byte lead in the last byte.
    std::memset(field, 'b', sizeof field);
    field[15] = '\xF0';
    Utility::normalizeUtf8String(field, 16);
    EXPECT_EQ(0, field[15]);
    EXPECT_EQ('b', field[14]);
}

TEST(UtilityTest, NetworkQueryFillsOnlyEth0AndEth1)
{
    Utility::NetworkQeuryResult result;
    result.entries[0].valid = true;
    result.entries[1].valid = true;
    Utility::getNetworkParam(&result);
    // Whatever the host has, an entry is valid only with an address read.
    for (const auto& e : result.entries)
    {
        if (e.valid)
        {
            EXPECT_NE(0u, e.netmask);
        }
    }
}
