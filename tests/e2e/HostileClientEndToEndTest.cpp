// Clients that try to exhaust the daemon's memory or log, or to get answers
// meant for others.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>

#include "PduServer.h"
#include "e2e/E2eBoard.h"
#include "muduo/net/InetAddress.h"
#include "src/modbus/ModbusFrames.h"
#include "support/TestFrames.h"

namespace
{
#if defined(__SANITIZE_ADDRESS__)
const bool kMemoryFigures = false;  // the sanitizer's quarantine keeps freed memory
#else
const bool kMemoryFigures = true;
#endif

class HostileClients : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(board.start());
        ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502", "udp 0.0.0.0:6666"}, 10)) << board.output();
        pid = board.daemonPid();
    }
    long grownKiB(long before) const
    {
        return kMemoryFigures ? board.daemonRssKilobytes() - before : 0;
    }
    // A socket of the daemon's namespace connected to its port, 2 s receive time-out.
    int connectTo(int type, uint16_t port, int receiveBuffer = 256 * 1024) const
    {
        const int fd = board.socketInNamespace(type);
        timeval wait = {2, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        muduo::net::InetAddress to("127.0.0.1", port);
        return ::connect(fd, to.getSockAddr(), sizeof(sockaddr_in)) == 0 ? fd : (::close(fd), -1);
    }
    // The lowest descriptor number the daemon has free.
    rlim_t lowestFreeDescriptor() const
    {
        return std::stoul(e2e::hostCommand("ls /proc/" + std::to_string(pid)
                                           + "/fd | sort -n | awk 'BEGIN {n = 0} $1 == n {n++} END {print n}'"));
    }
    bool modbusAnswers() const
    {
        const int fd = connectTo(SOCK_STREAM, 502);
        const std::string request = mbtest::frame(4, mbtest::be16s({0, 7}), 1);
        char answer[64];
        const bool ok = ::write(fd, request.data(), 12) == 12 && ::recv(fd, answer, sizeof answer, 0) == 23;
        ::close(fd);
        return ok;
    }

    e2e::E2eBoard board;
    pid_t pid = -1;
};

TEST_F(HostileClients, AnswersNobodyReadsStopTheReadingNotTheDaemon)
{
    ASSERT_TRUE(modbusAnswers());
    const long before = grownKiB(0);
    const int fd = connectTo(SOCK_STREAM, 502, 64 * 1024);
    std::string requests;  // 12 bytes asking for 57 registers: 123 bytes of answer
    for (uint16_t tid = 0; tid < 512; ++tid)
        requests += mbtest::frame(4, mbtest::be16s({0, 57}), tid);
    size_t sent = 0;
    for (pollfd out = {fd, POLLOUT, 0}; sent < (8u << 20) && ::poll(&out, 1, 300) == 1;)
    {
        const ssize_t n = ::send(fd, &requests[sent % requests.size()], requests.size() - sent % requests.size(),
                                 MSG_DONTWAIT);
        sent += n > 0 ? static_cast<size_t>(n) : 0;
    }
    EXPECT_LT(grownKiB(before), 8 * 1024) << sent << " bytes sent";
    EXPECT_TRUE(modbusAnswers());
    // Once it reads, every whole request is answered.
    size_t answered = 0;
    char chunk[65536];
    for (ssize_t n; answered < sent / 12 * 123 && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
        answered += static_cast<size_t>(n);
    EXPECT_EQ(sent / 12 * 123, answered);
    ::close(fd);
}

TEST_F(HostileClients, AnnouncedLengthsNoModbusFrameHasAreRefused)
{
    ASSERT_TRUE(modbusAnswers());
    const long before = grownKiB(0);
    // All connections the server keeps but one each announce 65535 bytes
    // and send 64 KiB of them.
    const std::string bytes = std::string("\x00\x01\x00\x00\xFF\xFF", 6) + std::string(65530, '\0');
    std::vector<int> fds(PduServer::kMaxConnectionsPerServer - 1);
    for (int& fd : fds)
        ASSERT_EQ(65536, ::write(fd = connectTo(SOCK_STREAM, 502), bytes.data(), bytes.size()));
    EXPECT_TRUE(modbusAnswers());
    EXPECT_LT(grownKiB(before), 2 * 1024);
    for (int fd : fds)
        ::close(fd);
}

TEST_F(HostileClients, ErrorLinesPeersProvokeAreLoggedAtABoundedRate)
{
    auto lines = [this](const std::string& text) {
        const std::string log = board.output();
        int n = 0;
        for (size_t at = 0; (at = log.find(text, at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    rlimit was = {};
    ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, nullptr, &was));
    // The lowest free descriptor number: nothing more can be opened.
    const rlimit low = {lowestFreeDescriptor(), was.rlim_max};
    ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, &low, nullptr));
    int closedAtOnce = 0;  // accepted on the spare descriptor and closed
    for (auto end = e2e::Clock::now() + std::chrono::seconds(2); e2e::Clock::now() < end;)
    {
        const int fd = connectTo(SOCK_STREAM, 502);
        char byte;
        closedAtOnce += ::recv(fd, &byte, 1, 0) == 0;
        ::close(fd);
    }
    ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, &was, nullptr));
    EXPECT_GT(closedAtOnce, 50);
    EXPECT_TRUE(lines("Too many open files") >= 1 && lines("Too many open files") <= 4) << closedAtOnce << " refused";
    // Connections reset by their peer, one after another.
    int resets = 0;
    for (auto end = e2e::Clock::now() + std::chrono::seconds(1); e2e::Clock::now() < end; ++resets)
    {
        const int fd = connectTo(SOCK_STREAM, 502);
        const linger abort = {1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::close(fd);
    }
    EXPECT_TRUE(modbusAnswers());
    EXPECT_LE(lines("SO_ERROR") + lines("Connection reset"), 3) << resets << " resets";
}

TEST_F(HostileClients, ConfigPortAnswersEachFrameToItsOwnSender)
{
    const int a = connectTo(SOCK_DGRAM, 6666), b = connectTo(SOCK_DGRAM, 6666);
    auto answerCode = [](int fd, const std::string& datagram) {
        unsigned char answer[64];
        ::send(fd, datagram.data(), datagram.size(), 0);
        return ::recv(fd, answer, sizeof answer, 0) == 20 ? answer[2] : -1;
    };
    const std::string uid = test::configFrame(16, test::configField("G020300000000041"));
    EXPECT_EQ(16, answerCode(a, uid + uid));
    EXPECT_EQ(15, answerCode(b, test::configFrame(15, std::string("\0\0\x02\x11\x22\x33\x44\x55", 8))));
    EXPECT_EQ(16, answerCode(a, std::string(1, '\0')));  // a's second frame
    EXPECT_EQ("02:11:22:33:44:55", board.sql("pdu.db", "select value from settings where name='mac'"));
    ::close(a);
    ::close(b);
}

TEST_F(HostileClients, IdleManageControlConnectionsBeyondTheBoundLeaveSettingsWritable)
{
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:8890"}, 10)) << board.output();
    rlimit was = {};
    ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, nullptr, &was));
    const rlim_t lowest = lowestFreeDescriptor();
    // descriptor limit, connections the daemon keeps of 200 (the rest it
    // closes at once): its bound, or what its reserve leaves
    const int bound = int(PduServer::kMaxConnectionsPerServer);
    for (auto [limit, keeps] : {std::pair<rlim_t, int>{128, bound}, {lowest + PduServer::kDescriptorReserve + 8, 8}})
    {
        const int kept = keeps;
        const rlimit low = {limit, was.rlim_max};
        ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, &low, nullptr));
        std::vector<int> fds(200);
        for (int& fd : fds)
            ASSERT_GE(fd = connectTo(SOCK_STREAM, 8890), 0);
        int closed = 0;
        e2e::waitUntil(
            [&] {
                closed = 0;
                char byte;
                for (int fd : fds)
                    closed += ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
                return closed >= 200 - kept;
            },
            5);
        EXPECT_NEAR(200 - kept, closed, limit == 128 ? 0 : 2) << limit;
        const std::string name = "Rack" + std::to_string(limit);
        EXPECT_EQ(R"({"response":30,"result":0})",
                  board.sh("printf '%s' '{\"request\":30,\"content\":{\"device_name\":\"" + name
                           + "\"}}' | socat -t 1 - UDP:127.0.0.1:8888"))
            << limit;
        EXPECT_EQ(name, board.sql("pdu.db", "select name from pdu_names where addr=0")) << limit;
        for (int fd : fds)
            ::close(fd);
        ASSERT_EQ(0, ::prlimit(pid, RLIMIT_NOFILE, &was, nullptr));
        EXPECT_TRUE(e2e::waitUntil([&] { return lowestFreeDescriptor() <= lowest; }, 5)) << limit;
    }
    EXPECT_TRUE(modbusAnswers());
}
TEST_F(HostileClients, PartialManageControlFramesOfManyConnectionsCostBoundedMemory)
{
    ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:8890"}, 10)) << board.output();
    const long before = grownKiB(0);
    // 200 connections each send all but the last byte of the largest frame.
    const std::string part = test::mgrCtrlFrame(0, std::string(262144, ';')).substr(0, 262150);
    std::vector<int> fds(200);
    for (int& fd : fds)
    {
        fd = connectTo(SOCK_STREAM, 8890);
        timeval wait = {2, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        ::send(fd, part.data(), part.size(), MSG_NOSIGNAL);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(grownKiB(before), 8 * 1024);
    for (int fd : fds)
        ::close(fd);
    EXPECT_TRUE(modbusAnswers());
}
}
