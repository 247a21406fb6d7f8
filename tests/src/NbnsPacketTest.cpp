#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "NbnsPacket.h"
#include "NbnsResponder.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "netext/UdpServer.h"
#include "netext/WireWriter.h"
#include "support/LoopUntil.h"
#include "support/NetNamespace.h"

using muduo::net::Buffer;
using muduo::net::WireWriter;

namespace
{
// A name query as a resolver sends it: the name padded with spaces to 15
// characters plus the suffix byte, first-level encoded.
std::string query(uint16_t id, const std::string& name, uint16_t type = 0x20, uint16_t cls = 1,
                  uint8_t suffix = 0)
{
    Buffer b;
    WireWriter w(b);
    w.be16(id).be16(0x0110).be16(1).be16(0).be16(0).be16(0).u8(32);
    std::string padded = name;
    padded.resize(15, ' ');
    padded.push_back(static_cast<char>(suffix));
    for (unsigned char c : padded)
        w.u8(static_cast<uint8_t>('A' + (c >> 4))).u8(static_cast<uint8_t>('A' + (c & 0x0F)));
    w.u8(0).be16(type).be16(cls);
    return b.retrieveAllAsString();
}

std::string hex(const std::string& bytes)
{
    std::string out;
    char t[4];
    for (unsigned char c : bytes)
    {
        ::snprintf(t, sizeof t, "%02X", c);
        out += t;
    }
    return out;
}

const unsigned char kRack1[16] = {'R', 'A', 'C', 'K', '1'};

bool answer(const std::string& datagram, const unsigned char* name, unsigned char length, Buffer& reply)
{
    return NbnsResponder::answer(datagram.data(), static_cast<int>(datagram.size()), name, length,
                                 [] { return 0xC0A80A05u; }, reply);
}
}

TEST(NbnsPacket, QueryForTheUnitNameIsAnsweredWithItsAddress)
{
    std::string q = query(0x1234, "RACK1");
    ASSERT_EQ(50u, q.size());
    unsigned short id = 0, type = 0, cls = 0;
    std::string name;
    ASSERT_TRUE(NbnsPacket::parseNbNsPacket(q.data(), 50, id, name, type, cls));
    EXPECT_EQ(0x1234, id);
    EXPECT_EQ(std::string("RACK1          ") + '\0', name);
    EXPECT_TRUE(NbnsPacket::validatePacket(name, kRack1, 5, type, cls));

    Buffer reply;
    ASSERT_TRUE(answer(q, kRack1, 5, reply));
    std::string encodedName = "FCEBEDELDB";  // R A C K 1
    for (int i = 0; i < 10; ++i)
        encodedName += "CA";
    encodedName += "AA";
    std::string expected = "1234" "8400" "0000" "0001" "0000" "0000" "20" + hex(encodedName) +
                           "00" "0020" "0001" "00000000" "0006" "6000" "C0A80A05";
    EXPECT_EQ(expected, hex(reply.retrieveAllAsString()));
}

TEST(NbnsPacket, SixteenCharacterNameFillsAllThirtyTwoCharacters)
{
    const unsigned char name[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    Buffer reply;
    unsigned short id = 7;
    NbnsPacket::buildNbNsRespPacket(reply, id, name, 16, 0x7F000001);
    std::string bytes = reply.retrieveAllAsString();
    ASSERT_EQ(62u, bytes.size());
    // 'P' (0x50) encodes as "FA" in the last position: no "AA" suffix
    EXPECT_EQ("FA", bytes.substr(43, 2));
    EXPECT_EQ("EB", bytes.substr(13, 2));
}

TEST(NbnsPacket, OtherQueriesAreNotAnswered)
{
    Buffer reply;
    EXPECT_FALSE(answer(query(1, "RACK1", 0x21), kRack1, 5, reply)) << "node status";
    EXPECT_FALSE(answer(query(1, "RACK1", 0x20, 3), kRack1, 5, reply)) << "other class";
    EXPECT_FALSE(answer(query(1, "OTHER"), kRack1, 5, reply)) << "other name";
    EXPECT_FALSE(answer(query(1, "RACK1") + 'x', kRack1, 5, reply)) << "51 bytes";
    EXPECT_EQ(0u, reply.readableBytes());
}

TEST(NbnsPacket, OnlyTheUnitsOwnNameIsAnsweredWhateverItsCase)
{
    const unsigned char pdu[16] = {'P', 'D', 'U'};
    Buffer reply;
    // Names that begin with the unit's, or that it begins with, are other units'.
    for (const char* other : {"PDU1", "PDU2", "PDU 1", "PD", "PDU_"})
        EXPECT_FALSE(answer(query(1, other), pdu, 3, reply)) << other;
    EXPECT_FALSE(answer(query(1, "PDU", 0x20, 1, 0x20), pdu, 3, reply)) << "server suffix";
    EXPECT_EQ(0u, reply.readableBytes());

    EXPECT_TRUE(answer(query(1, "PDU"), pdu, 3, reply));
    EXPECT_TRUE(answer(query(2, "pdu"), pdu, 3, reply));
    EXPECT_TRUE(answer(query(3, "RaCk1"), kRack1, 5, reply));
    EXPECT_EQ(3 * 62u, reply.readableBytes());

    // A 16-character name has its last character in the suffix place.
    const unsigned char full[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    EXPECT_TRUE(answer(query(4, "abcdefghijklmno", 0x20, 1, 'P'), full, 16, reply));
    EXPECT_FALSE(answer(query(5, "ABCDEFGHIJKLMNO"), full, 16, reply));
    EXPECT_FALSE(answer(query(6, "ABCDEFGHIJKLMNO", 0x20, 1, 'p'), full, 16, reply));
}

TEST(NbnsPacket, UnitWithoutNameAnswersNothing)
{
    const unsigned char none[16] = {};
    Buffer reply;
    EXPECT_FALSE(answer(query(1, "RACK1"), none, 0, reply));
    EXPECT_FALSE(answer(query(1, ""), none, 0, reply));
    // an undecodable name (odd length) leaves the name empty
    std::string odd = query(1, "RACK1");
    odd[12] = 31;
    unsigned short id = 0, type = 0, cls = 0;
    std::string name = "stale";
    ASSERT_TRUE(NbnsPacket::parseNbNsPacket(odd.data(), 50, id, name, type, cls));
    EXPECT_TRUE(name.empty());
    EXPECT_FALSE(answer(odd, none, 0, reply));
    EXPECT_FALSE(answer(odd, kRack1, 5, reply));
    EXPECT_EQ(0u, reply.readableBytes());
}

TEST(NbnsPacket, EveryTruncationIsIgnored)
{
    std::string q = query(9, "RACK1");
    for (size_t n = 0; n < q.size(); ++n)
    {
        std::unique_ptr<char[]> copy(new char[n + 1]);
        q.copy(copy.get(), n);
        unsigned short id = 0, type = 0, cls = 0;
        std::string name;
        EXPECT_FALSE(NbnsPacket::parseNbNsPacket(copy.get(), static_cast<int>(n), id, name, type, cls)) << n;
    }
}

// A real resolver asks the running responder on port 137.
TEST(NbnsNetns, NmblookupResolvesTheUnitName)
{
    RAILBOX_RUN_IN_NETNS();
    muduo::net::EventLoop loop;
    muduo::net::UdpServer server(&loop, muduo::net::InetAddress(137), true);
    server.setMessageCallback([](const muduo::net::UdpTranceiverPtr& t, const muduo::net::InetAddress& peer,
                                 Buffer* buf, muduo::Timestamp) {
        Buffer reply;
        if (NbnsResponder::answer(buf->peek(), static_cast<int>(buf->readableBytes()), kRack1, 5,
                                  [] { return 0x7F000001u; }, reply))
            t->send(peer, reply.peek(), static_cast<int>(reply.readableBytes()));
        buf->retrieveAll();
    });
    server.start();

    std::string output;
    std::atomic<bool> done{false};
    std::thread resolver([&] {
        FILE* p = ::popen("nmblookup -s /dev/null -U 127.0.0.1 --recursion RACK1 2>&1", "r");
        char line[512];
        while (p && ::fgets(line, sizeof line, p))
            output += line;
        if (p)
            ::pclose(p);
        done = true;
    });
    test::loopUntil(loop, [&] { return done.load(); }, 30.0);
    resolver.join();
    EXPECT_NE(std::string::npos, output.find("127.0.0.1 RACK1<00>")) << output;
}
