#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PingModule.h"
#include "support/LogCapture.h"

namespace
{
const uint16_t kId = 0xBEEF;

// An IPv4 header of the given length (in 32-bit words) and an echo reply.
std::vector<unsigned char> reply(int headerWords, uint16_t id, unsigned char type = 0)
{
    std::vector<unsigned char> d(headerWords * 4 + PingModule::kPacketSize, 0);
    d[0] = static_cast<unsigned char>(0x40 | headerWords);
    unsigned char* icmp = d.data() + headerWords * 4;
    PingModule::buildIcmpPacket(icmp, id, 7);
    // The peer turns the request into a reply and fixes the checksum.
    icmp[0] = type;
    icmp[2] = icmp[3] = 0;
    uint16_t words[12];
    ::memcpy(words, icmp, sizeof words);
    unsigned short sum = PingModule::calChkSum(words, 24);
    ::memcpy(icmp + 2, &sum, 2);
    return d;
}
}

TEST(PingModuleTest, ChecksumFollowsTheInternetRule)
{
    // The example of RFC 1071, section 3 (bytes 00 01 f2 03 f4 f5 f6 f7).
    const unsigned char bytes[8] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    uint16_t words[4];
    ::memcpy(words, bytes, sizeof words);
    unsigned short sum = PingModule::calChkSum(words, 8);
    unsigned char out[2];
    ::memcpy(out, &sum, 2);
    EXPECT_EQ(0xDD, out[0] ^ 0xFF);  // the folded sum ddf2, complemented
    EXPECT_EQ(0xF2, out[1] ^ 0xFF);
    // An odd last byte counts as the low byte of a word.
    uint16_t one[1] = {0};
    const unsigned char last = 0xAB;
    ::memcpy(one, &last, 1);
    EXPECT_EQ(static_cast<unsigned short>(~0x00AB & 0xFFFF), PingModule::calChkSum(one, 1));
}

TEST(PingModuleTest, RequestLayout)
{
    unsigned char p[PingModule::kPacketSize];
    PingModule::buildIcmpPacket(p, 0x1234, 0x0102);
    EXPECT_EQ(8, p[0]);
    EXPECT_EQ(0, p[1]);
    uint16_t id = 0, seq = 0;
    ::memcpy(&id, p + 4, 2);
    ::memcpy(&seq, p + 6, 2);
    EXPECT_EQ(0x1234, id);
    EXPECT_EQ(0x0102, seq);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(i, p[8 + i]);
    uint16_t words[12];
    ::memcpy(words, p, sizeof words);
    EXPECT_EQ(0, PingModule::calChkSum(words, 24));
}

TEST(PingModuleTest, ReplyCheck)
{
    std::vector<unsigned char> good = reply(5, kId);
    EXPECT_TRUE(PingModule::isEchoReply(good.data(), good.size(), kId));
    EXPECT_FALSE(PingModule::isEchoReply(good.data(), good.size(), kId + 1));
    std::vector<unsigned char> withOptions = reply(6, kId);
    EXPECT_TRUE(PingModule::isEchoReply(withOptions.data(), withOptions.size(), kId));

    std::vector<unsigned char> request = reply(5, kId, 8);
    EXPECT_FALSE(PingModule::isEchoReply(request.data(), request.size(), kId));

    std::vector<unsigned char> damaged = good;
    damaged.back() ^= 0x40;
    test::LogCapture log;
    EXPECT_FALSE(PingModule::isEchoReply(damaged.data(), damaged.size(), kId));
    EXPECT_TRUE(log.contains("calc cksum:0x"));

    // A header length below the minimum is not an IPv4 datagram.
    std::vector<unsigned char> shortHeader = good;
    shortHeader[0] = 0x44;
    EXPECT_FALSE(PingModule::isEchoReply(shortHeader.data(), shortHeader.size(), kId));
}

TEST(PingModuleTest, TruncatedDatagramsAreNeverReadPastTheirEnd)
{
    for (int words : {5, 6, 15})
    {
        std::vector<unsigned char> full = reply(words, kId);
        for (size_t n = 0; n < full.size(); ++n)
        {
            std::vector<unsigned char> cut(full.begin(), full.begin() + n);
            EXPECT_FALSE(PingModule::isEchoReply(cut.data(), cut.size(), kId)) << words << " words, " << n << " bytes";
        }
    }
}
