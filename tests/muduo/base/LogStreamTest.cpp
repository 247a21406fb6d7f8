#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <string>

#include "muduo/base/LogStream.h"

using muduo::LogStream;

namespace
{
template <typename T>
std::string fmt(const T& v)
{
    LogStream os;
    os << v;
    return os.buffer().toString();
}
}  // namespace

TEST(LogStreamTest, Integers)
{
    EXPECT_EQ(fmt(0), "0");
    EXPECT_EQ(fmt(-1), "-1");
    EXPECT_EQ(fmt(INT_MIN), "-2147483648");
    EXPECT_EQ(fmt(static_cast<short>(-32768)), "-32768");
    EXPECT_EQ(fmt(static_cast<unsigned short>(65535)), "65535");
    EXPECT_EQ(fmt(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(fmt(std::numeric_limits<int64_t>::max()), "9223372036854775807");
    EXPECT_EQ(fmt(std::numeric_limits<uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(fmt(4294967295u), "4294967295");
}

TEST(LogStreamTest, PointersBoolsAndChars)
{
    EXPECT_EQ(fmt(static_cast<const void*>(nullptr)), "0x0");
    EXPECT_EQ(fmt(reinterpret_cast<const void*>(uintptr_t{0x1234abcd})), "0x1234ABCD");
    EXPECT_EQ(fmt(true), "1");
    EXPECT_EQ(fmt(false), "0");
    EXPECT_EQ(fmt('c'), "c");
}

TEST(LogStreamTest, FloatingPoint)
{
    EXPECT_EQ(fmt(0.1), "0.1");
    EXPECT_EQ(fmt(1.0 / 3), "0.333333333333");
    EXPECT_EQ(fmt(-2.5), "-2.5");
    EXPECT_EQ(fmt(1e300), "1e+300");
    EXPECT_EQ(fmt(123456789012345.0), "1.23456789012e+14");
    EXPECT_EQ(fmt(0.5f), "0.5");
}

TEST(LogStreamTest, Strings)
{
    const char* nullText = nullptr;
    EXPECT_EQ(fmt("abc"), "abc");
    EXPECT_EQ(fmt(nullText), "(null)");
    EXPECT_EQ(fmt(std::string("std")), "std");
    EXPECT_EQ(fmt(muduo::StringPiece("piece", 3)), "pie");

    LogStream os;
    os << "a" << 1 << ' ' << 2.5 << muduo::Fmt("%04d", 7) << muduo::Fmt("%.2f", 1.234);
    EXPECT_EQ(os.buffer().toString(), "a1 2.50007" "1.23");
}

TEST(LogStreamTest, FullBufferSkipsWholePieces)
{
    LogStream os;
    std::string big(muduo::detail::kSmallBuffer - 10, 'x');
    os << big;
    EXPECT_EQ(os.buffer().length(), static_cast<int>(big.size()));
    os << "this piece is too long";
    os << 1234567;  // numbers need room for their widest form
    EXPECT_EQ(os.buffer().length(), static_cast<int>(big.size()));
    os << "short";
    EXPECT_EQ(os.buffer().length(), static_cast<int>(big.size()) + 5);
    EXPECT_LT(os.buffer().length(), muduo::detail::kSmallBuffer);
}
