// nmblookup (Samba) asks the running daemon for names over UDP port 137.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"

namespace
{
TEST(NetbiosEndToEnd, NmblookupResolvesTheUnitsNameOnly)
{
    e2e::E2eBoard board;
    board.sql("pdu.db", "update settings set value='RACK7' where name='netbios_name'");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 0.0.0.0:137"}, 10)) << board.output();
    // The unit answers with the address of its first interface, eth0.
    int status = -1;
    board.sh("ip link add eth0 type bridge && ip addr add 10.20.30.40/24 dev eth0 && ip link set eth0 up", &status);
    ASSERT_EQ(0, status);

    const std::string answer = board.sh("nmblookup -U 127.0.0.1 rack7", &status);
    EXPECT_EQ(0, status) << answer;
    EXPECT_NE(std::string::npos, answer.find("10.20.30.40 rack7<00>")) << answer;

    const std::string other = board.sh("nmblookup -U 127.0.0.1 RACK8", &status);
    EXPECT_NE(0, status) << other;
    EXPECT_EQ(std::string::npos, other.find("10.20.30.40")) << other;
    EXPECT_TRUE(board.running());
}

TEST(NetbiosEndToEnd, NamesThatBeginWithTheUnitsAreNotAnswered)
{
    e2e::E2eBoard board;
    board.sql("pdu.db", "update settings set value='PDU' where name='netbios_name'");
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 0.0.0.0:137"}, 10)) << board.output();
    int status = -1;
    board.sh("ip link add eth0 type bridge && ip addr add 10.20.30.41/24 dev eth0 && ip link set eth0 up", &status);
    ASSERT_EQ(0, status);

    for (const char* other : {"PDU1", "PDU2"})
    {
        const std::string answer = board.sh(std::string("nmblookup -U 127.0.0.1 ") + other, &status);
        EXPECT_NE(0, status) << other << ": " << answer;
        EXPECT_EQ(std::string::npos, answer.find("10.20.30.41")) << other << ": " << answer;
    }
    const std::string own = board.sh("nmblookup -U 127.0.0.1 pdu", &status);
    EXPECT_EQ(0, status) << own;
    EXPECT_NE(std::string::npos, own.find("10.20.30.41 pdu<00>")) << own;
}
}
