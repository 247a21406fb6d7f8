// nmblookup (Samba) asks the running daemon for names over UDP port 137.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"

namespace
{
class NetbiosEndToEnd : public ::testing::Test
{
protected:
    // The unit under this name; it answers with the address of its first
    // interface, eth0.
    void startNamed(const std::string& name)
    {
        board.sql("pdu.db", "update settings set value='" + name + "' where name='netbios_name'");
        ASSERT_TRUE(board.start());
        ASSERT_TRUE(board.waitListening({"udp 0.0.0.0:137"}, 10)) << board.output();
        int status = -1;
        board.sh("ip link add eth0 type bridge && ip addr add 10.20.30.40/24 dev eth0 && ip link set eth0 up",
                 &status);
        ASSERT_EQ(0, status);
    }
    // nmblookup's output for a name, and its exit status.
    std::string lookup(const std::string& name, int& status) const
    {
        return board.sh("nmblookup -U 127.0.0.1 " + name, &status);
    }

    e2e::E2eBoard board;
};

TEST_F(NetbiosEndToEnd, NmblookupResolvesTheUnitsNameOnly)
{
    startNamed("RACK7");
    int status = -1;
    const std::string answer = lookup("rack7", status);
    EXPECT_EQ(0, status) << answer;
    EXPECT_NE(std::string::npos, answer.find("10.20.30.40 rack7<00>")) << answer;

    const std::string other = lookup("RACK8", status);
    EXPECT_NE(0, status) << other;
    EXPECT_EQ(std::string::npos, other.find("10.20.30.40")) << other;
    EXPECT_TRUE(board.running());
}

TEST_F(NetbiosEndToEnd, NamesThatBeginWithTheUnitsAreNotAnswered)
{
    startNamed("PDU");
    int status = -1;
    for (const char* other : {"PDU1", "PDU2"})
    {
        const std::string answer = lookup(other, status);
        EXPECT_NE(0, status) << other << ": " << answer;
        EXPECT_EQ(std::string::npos, answer.find("10.20.30.40")) << other << ": " << answer;
    }
    const std::string own = lookup("pdu", status);
    EXPECT_EQ(0, status) << own;
    EXPECT_NE(std::string::npos, own.find("10.20.30.40 pdu<00>")) << own;
}
}
