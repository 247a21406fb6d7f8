// Splitting the stand-in device file's byte stream into records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LcdRecordParser.h"

namespace
{
void be32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

std::vector<uint8_t> ioctlRecord(uint32_t request, std::vector<uint8_t> arg)
{
    std::vector<uint8_t> out{'I'};
    be32(out, request);
    be32(out, static_cast<uint32_t>(arg.size()));
    out.insert(out.end(), arg.begin(), arg.end());
    return out;
}

std::vector<uint8_t> writeRecord(std::vector<uint8_t> bytes)
{
    std::vector<uint8_t> out{'W'};
    be32(out, static_cast<uint32_t>(bytes.size()));
    be32(out, 0);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Records as text: "I40086c02:0100" or "W:ff00".
std::string describe(const LcdRecord& r)
{
    char head[16];
    std::snprintf(head, sizeof head, r.kind == LcdRecord::kIoctl ? "I%08x:" : "W:", r.request);
    std::string out = head;
    for (uint8_t b : r.data)
    {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", b);
        out += hex;
    }
    return out;
}

struct Collect
{
    std::vector<std::string> seen;
    LcdRecordParser parser{[this](const LcdRecord& r) { seen.push_back(describe(r)); }};
};
}

TEST(LcdRecordParserTest, AnyChunkingGivesTheSameRecords)
{
    std::vector<uint8_t> stream = ioctlRecord(0x40046C01, {1, 0, 0, 0}) + ioctlRecord(0x40086C02, {3, 0, 0, 0, 9, 0, 0, 0}) +
                                  writeRecord({0xFF, 0x00, 0x81}) + writeRecord({}) + ioctlRecord(0x6C00, {});
    const std::vector<std::string> expected = {"I40046c01:01000000", "I40086c02:0300000009000000", "W:ff0081", "W:",
                                               "I00006c00:"};
    for (size_t chunk = 1; chunk <= stream.size(); ++chunk)
    {
        Collect c;
        for (size_t at = 0; at < stream.size(); at += chunk)
            c.parser.feed(stream.data() + at, std::min(chunk, stream.size() - at));
        EXPECT_EQ(expected, c.seen) << "chunks of " << chunk;
        EXPECT_EQ(5u, c.parser.records());
    }
}

TEST(LcdRecordParserTest, TruncatedStreamWaitsAndResetStartsOver)
{
    std::vector<uint8_t> rec = writeRecord({1, 2, 3, 4});
    for (size_t cut = 0; cut < rec.size(); ++cut)
    {
        Collect c;
        c.parser.feed(rec.data(), cut);
        EXPECT_TRUE(c.seen.empty()) << cut;
        c.parser.reset();
        c.parser.feed(rec.data(), rec.size());
        EXPECT_EQ(std::vector<std::string>{"W:01020304"}, c.seen) << cut;
    }
}

TEST(LcdRecordParserTest, GarbageAndOversizeRecordsAreSkipped)
{
    std::vector<uint8_t> huge{'W'};
    be32(huge, LcdRecordParser::kMaxWrite + 1);
    be32(huge, 0);
    huge.resize(huge.size() + LcdRecordParser::kMaxWrite + 1, 'I');  // body bytes that look like headers
    std::vector<uint8_t> bigArg{'I'};
    be32(bigArg, 0x1234);
    be32(bigArg, 0xFFFFFFFF);  // the rest of the stream is swallowed
    std::vector<uint8_t> stream = std::vector<uint8_t>{'x', 0, 0xFF} + huge + writeRecord({7}) + bigArg + writeRecord({8});
    Collect c;
    c.parser.feed(stream.data(), stream.size());
    EXPECT_EQ(std::vector<std::string>{"W:07"}, c.seen);
    EXPECT_EQ(2u, c.parser.oversizeRecords());
    EXPECT_EQ(3u + LcdRecordParser::kMaxWrite + 1 + writeRecord({8}).size(), c.parser.skippedBytes());
}
