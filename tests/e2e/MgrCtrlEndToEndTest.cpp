// Management software on the running daemon: discovery on the UDP scan port,
// outlets switched over TCP while other clients misbehave.
#include <gtest/gtest.h>

#include "e2e/E2eBoard.h"
#include "muduo/net/InetAddress.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/TestFrames.h"

namespace
{
class MgrCtrlEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(board.start());
        ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:8890", "udp 0.0.0.0:8891"}, 10)) << board.output();
    }
    // A socket of the daemon's namespace connected to its port, 2 s receive time-out.
    int connectTo(int type, uint16_t port)
    {
        const int fd = board.socketInNamespace(type);
        timeval wait = {2, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        muduo::net::InetAddress to("127.0.0.1", port);
        EXPECT_EQ(0, ::connect(fd, to.getSockAddr(), sizeof(sockaddr_in)));
        fds.push_back(fd);
        return fd;
    }
    static void put(int fd, const std::string& bytes)
    {
        ASSERT_EQ(ssize_t(bytes.size()), ::send(fd, bytes.data(), bytes.size(), 0));
    }
    // What arrives within the time-out, up to want bytes.
    static std::string take(int fd, size_t want)
    {
        std::string got;
        char chunk[512];
        for (ssize_t n; got.size() < want && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
            got.append(chunk, static_cast<size_t>(n));
        return got;
    }
    void TearDown() override
    {
        for (int fd : fds)
            ::close(fd);
    }

    e2e::E2eBoard board;
    std::vector<int> fds;
};

const std::string kList = test::mgrCtrlFrame(1, "\x2A");
const size_t kListReply = 7 + 3 + 43;  // frame, code, result, count, the unit's record
}

TEST_F(MgrCtrlEndToEnd, ClientSwitchesOutletsWhileOthersSendNothingOrGarbage)
{
    const int idle = connectTo(SOCK_STREAM, 8890);
    const int cut = connectTo(SOCK_STREAM, 8890);
    put(cut, kList.substr(0, 5));
    const auto cutAt = e2e::Clock::now();
    const int hostile = connectTo(SOCK_STREAM, 8890);
    for (const std::string& bad :
         {std::string("\xA4\x00\x00\x7F\xFF\xFF\xF9xx", 9), std::string("GET / HTTP/1.0\r\n\r\n"),
          test::mgrCtrlFrame(1, "\x2A", 0), test::mgrCtrlFrame(0, "\x29"),
          test::mgrCtrlFrame(0, std::string("\x2E\x00\x00", 3))})
    {
        put(hostile, bad);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // one chunk each
    }

    const int client = connectTo(SOCK_STREAM, 8890);
    put(client, test::mgrCtrlFrame(1, std::string("\x2E\x00\x00\x00\x00\x05\x01", 7)));
    EXPECT_EQ(test::hexBytes(test::mgrCtrlFrame(1, std::string("\x2E\x00\x00", 3))), test::hexBytes(take(client, 10)));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.emulator().relayBits() == 0x05; }, 5)) << board.output();
    put(client, test::mgrCtrlFrame(0, std::string("\x49\x00\x00\x00\x00\x00\x00\x00\x00\x04\x00", 11)));
    EXPECT_EQ(test::mgrCtrlFrame(0, std::string("\x49\x00\x00", 3), 0), take(client, 10));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.emulator().relayBits() == 0x01; }, 5));
    EXPECT_TRUE(e2e::waitUntil(
        [&] { return board.sql("outlet.db", "select on_off from status where port=0") == "1"; }, 3));

    // The cut frame is dropped 1 s after it came.
    std::this_thread::sleep_until(cutAt + std::chrono::milliseconds(1300));

    // Every connection still gets its answers, the misbehaving ones too.
    for (int fd : {idle, hostile, cut})
    {
        put(fd, kList);
        EXPECT_EQ(kListReply, take(fd, kListReply).size());
    }
    EXPECT_TRUE(board.running());
    for (const char* line : {"over 262144", "parse error", "no data parser"})
        EXPECT_NE(std::string::npos, board.output().find(line)) << line;
}

TEST_F(MgrCtrlEndToEnd, DiscoveryAnswersEachDatagramOnItsOwn)
{
    int status = -1;
    board.sh("ip link add eth0 type bridge && ip addr add 192.168.1.10/24 dev eth0 && ip link set eth0 up", &status);
    ASSERT_EQ(0, status);
    const int a = connectTo(SOCK_DGRAM, 8891), b = connectTo(SOCK_DGRAM, 8891);
    const std::string answer = test::mgrCtrlFrame(1, "\x29\xC0\xA8\x01\x0A");
    put(a, test::mgrCtrlFrame(1, std::string("\x29\x00", 2)).substr(0, 8));  // announces two bytes, brings one
    put(b, test::mgrCtrlFrame(1, "\x29"));
    EXPECT_EQ(test::hexBytes(answer), test::hexBytes(take(b, answer.size())));
    put(a, "garbage");
    put(a, test::mgrCtrlFrame(0, "\x2A"));  // any code is a scan here
    EXPECT_EQ(test::mgrCtrlFrame(0, "\x29\xC0\xA8\x01\x0A", 0), take(a, answer.size()));
}
