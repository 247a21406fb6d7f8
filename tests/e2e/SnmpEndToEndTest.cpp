// The SNMP bridge of the running daemon, asked by socat and by a plain socket in its namespace.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include "e2e/E2eBoard.h"
#include "muduo/net/InetAddress.h"
#include "platform/pmemu/PowerModuleEmulator.h"

namespace
{
std::string ask(const e2e::E2eBoard& board, const std::string& request)
{
    return board.sh("printf '%s' " + e2e::E2eBoard::quote(request) + " | socat -t 0.5 - UDP:127.0.0.1:8889");
}

// One request from a socket of the daemon's namespace; "<none>" when no answer came in time.
std::string exchange(int fd, const std::string& request, int timeoutMs = 1000)
{
    const muduo::net::InetAddress bridge("127.0.0.1", 8889);
    ::sendto(fd, request.data(), request.size(), 0, bridge.getSockAddr(), sizeof(sockaddr_in));
    pollfd ready{fd, POLLIN, 0};
    char answer[2048];
    const ssize_t n = ::poll(&ready, 1, timeoutMs) == 1 ? ::recv(fd, answer, sizeof answer, 0) : -1;
    return n < 0 ? "<none>" : std::string(answer, static_cast<size_t>(n));
}

#if defined(__SANITIZE_ADDRESS__)
const int kRequests = 2000;  // the sanitizer's allocator holds freed memory back: no measure
#else
const int kRequests = 105000;
#endif

}

TEST(SnmpEndToEnd, SocatGetsEveryKindOfAnswerAndTheRebootStandInRuns)
{
    e2e::E2eBoard board;
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8889"}, 10)) << board.output();
    const std::pair<const char*, const char*> exchanges[] = {
        {R"({"request":1,"content":{"device_name":true}})",
         R"({"response":1,"result":0,"content":{"device_name":"PDU"}})"},
        {R"({"request":4,"content":{"outlet_name":{"port":2,"name":"Fan"}}})",
         R"({"response":4,"result":0,"content":{"outlet_name":{"port":2,"name":"Fan"}}})"},
        {R"({"request":8,"content":{"outlet_control":{"port":2,"on_off":1}}})", R"({"response":8,"result":0})"},
        {R"({"request":5,"content":{"index":0,"https_port":true}})",
         R"({"response":5,"result":0,"content":{"index":0,"https_port":443}})"},
        {R"({"request":9,"content":{"cascade_level":1,"device_addr":true}})", R"({"response":9,"result":1})"},
        {"{\"request\":", "error"},
        {R"({"request":8,"content":{}})", "error"},
        {R"({"request":7,"content":{"reboot":0}})", R"({"response":7,"result":0})"},
    };
    for (const auto& e : exchanges)
        EXPECT_EQ(e.second, ask(board, e.first)) << e.first;
    EXPECT_EQ("Fan", board.sql("pdu.db", "select port_2 from pdu_names where addr=0"));
    EXPECT_TRUE(e2e::waitUntil([&] { return board.emulator().relayBits() == 0x04; }, 3));
    EXPECT_EQ("", board.file("/var/log/reboot.calls"));
    EXPECT_EQ(R"({"response":7,"result":0})", ask(board, R"({"request":7,"content":{"reboot":-1}})"));
    EXPECT_EQ("reboot \n", board.file("/var/log/reboot.calls"));
    EXPECT_TRUE(board.running());
}

TEST(SnmpEndToEnd, EmptyDatagramsGoUnansweredAndMemoryStaysFlat)
{
    e2e::E2eBoard board;
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8889"}, 10)) << board.output();
    const int fd = board.udpSocketInNamespace();
    ASSERT_GE(fd, 0);
    EXPECT_EQ("<none>", exchange(fd, "", 300));
    const std::string requests[][2] = {
        {R"({"request":1,"content":{"device_threshold":{"max_current":true}}})",
         R"({"response":1,"result":0,"content":{"device_threshold":{"max_current":16.0}}})"},
        {R"({"request":3,"content":{"outlet_name":{"port":4,"name":true},"pad":[1,{"a":"bcdefghijklmnopqrstu"}]}})",
         R"({"response":3,"result":0,"content":{"outlet_name":{"port":4,"name":"Outlet5"}}})"},
        {R"({"request":9,"content":{"cascade_level":2,"device_name":true}})", R"({"response":9,"result":1})"},
        {R"({"request":3,"content":{"outlet_delay":{"port":"x"}}})", "error"},
    };
    long before = 0;
    for (int i = 0; i < kRequests; ++i)
    {
        const std::string* r = requests[i % 4];
        ASSERT_EQ(r[1], exchange(fd, r[0])) << i;
        if (i == 4999)
            before = board.daemonRssKilobytes();
    }
    const long after = board.daemonRssKilobytes();
    ::close(fd);
    EXPECT_TRUE(board.running());
    if (kRequests < 100000)
        GTEST_SKIP() << "memory not measured under the sanitizer";
    ASSERT_GT(before, 0);
    EXPECT_LT(after - before, 512) << before << " kB before, " << after << " kB after";
}
