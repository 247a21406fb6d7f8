#include <gtest/gtest.h>

#include "muduo/net/Buffer.h"
#include "netext/MaskTraits.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

using muduo::net::Buffer;
using muduo::net::WireReader;
using muduo::net::WireWriter;

TEST(Wire, WriterAndReaderRoundTripEveryField)
{
    Buffer buf;
    WireWriter(buf).u8(0xA5).s8(-2).be16(0x1234).be32(0xDEADBEEF).be64(0x0102030405060708ULL).text(16, "pdu-1").mask<uint64_t>(1ULL << 40);
    ASSERT_EQ(buf.readableBytes(), 1u + 1 + 2 + 4 + 8 + 16 + 8);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(buf.peek());
    EXPECT_EQ(p[2], 0x12);  // big-endian on the wire
    EXPECT_EQ(p[3], 0x34);

    WireReader r(buf);
    uint8_t a; int8_t b; uint16_t c; uint32_t d; uint64_t e; std::string s; uint64_t m;
    ASSERT_TRUE(r.u8(a) && r.s8(b) && r.be16(c) && r.be32(d) && r.be64(e) && r.text(16, s) && r.mask(m));
    EXPECT_EQ(a, 0xA5); EXPECT_EQ(b, -2); EXPECT_EQ(c, 0x1234); EXPECT_EQ(d, 0xDEADBEEFu);
    EXPECT_EQ(e, 0x0102030405060708ULL); EXPECT_EQ(s, "pdu-1"); EXPECT_EQ(m, 1ULL << 40);
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(Wire, ReadsPastTheEndFailWithoutConsuming)
{
    const uint8_t bytes[] = {1, 2, 3};
    WireReader r(bytes, sizeof bytes);
    uint32_t v32;
    std::string s;
    EXPECT_FALSE(r.be32(v32));
    EXPECT_FALSE(r.text(4, s));
    EXPECT_FALSE(r.skip(4));
    EXPECT_EQ(r.consumed(), 0u);
    uint16_t v16;
    ASSERT_TRUE(r.be16(v16));
    EXPECT_EQ(v16, 0x0102);
    EXPECT_FALSE(r.be16(v16));
    EXPECT_EQ(r.remaining(), 1u);
    WireReader empty(nullptr, 10);  // a null pointer never reads
    uint8_t b;
    EXPECT_FALSE(empty.u8(b));
}

TEST(Wire, TextFieldsCutPadAndStopAtZero)
{
    Buffer buf;
    WireWriter(buf).text(4, "abcdefgh").text(6, "ab");
    ASSERT_EQ(buf.readableBytes(), 10u);
    WireReader r(buf);
    std::string first, second;
    ASSERT_TRUE(r.text(4, first) && r.text(6, second));
    EXPECT_EQ(first, "abcd");
    EXPECT_EQ(second, "ab");
}

TEST(Wire, MaskTraitsNameOnlyBitsInRange)
{
    using M32 = MaskTraits<uint32_t>;
    EXPECT_EQ(M32::kWidth, 32);
    EXPECT_EQ(M32::bit(31), 0x80000000u);
    EXPECT_EQ(M32::bit(32), 0u);
    EXPECT_EQ(M32::bit(-1), 0u);
    EXPECT_FALSE(M32::test(0xFFFFFFFFu, 40));
    std::vector<int> seen;
    MaskTraits<uint64_t>::forEachSetBit((1ULL << 63) | 5, [&](int i) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<int>{0, 2, 63}));
}
