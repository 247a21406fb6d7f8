// A chain of real daemons: a master and two slaves, each on its own board
// and network namespace, joined by the simulated cascade line at 38400
// baud. Clients of the master reach the slaves through it.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "e2e/E2eBoard.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/processor/MgrCtrlCommandTable.h"
#include "muduo/net/InetAddress.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ChainLineProcess.h"
#include "support/TestFrames.h"

namespace
{
class CascadeMasterEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ChainLineProcess::setRole(master.root(), 0, {1, 2});
        test::ChainLineProcess::setRole(slave1.root(), 1);
        test::ChainLineProcess::setRole(slave2.root(), 2);
        // 1,000 event-log rows on slave 1, for the long answer.
        slave1.sql("pdu.db", "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
                             "insert into system_logs (type, content, datetime) select 1, "
                             "'{\"type\":1,\"port\":' || (i % 8) || ',\"desc\":3}', '2026-03-01 10:00:00' from n");
        line = std::make_unique<test::ChainLineProcess>(
            std::vector<std::string>{master.root(), slave1.root(), slave2.root()});
        ASSERT_TRUE(slave1.start() && slave2.start() && master.start());
        ASSERT_TRUE(master.waitListening({"udp 127.0.0.1:8888", "tcp 0.0.0.0:8890"}, 10)) << master.output();
    }

    std::string web(const std::string& request) const
    {
        return master.sh("printf '%s' " + e2e::E2eBoard::quote(request) + " | socat -t 0.5 - UDP:127.0.0.1:8888");
    }
    bool listed(int address) const
    {
        return web("{\"request\":1}").find("{\"addr\":" + std::to_string(address) + ",") != std::string::npos;
    }
    // One manage-control request on a new connection; the reply, want bytes
    // or what came before seconds passed.
    std::string mgrCtrl(const std::string& data, size_t want, double seconds = 2) const
    {
        const int fd = master.socketInNamespace(SOCK_STREAM);
        timeval wait = {static_cast<time_t>(seconds), 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        muduo::net::InetAddress to("127.0.0.1", 8890);
        std::string got;
        if (::connect(fd, to.getSockAddr(), sizeof(sockaddr_in)) == 0)
        {
            const std::string frame = test::mgrCtrlFrame(1, data);
            if (::send(fd, frame.data(), frame.size(), 0) == ssize_t(frame.size()))
            {
                char chunk[4096];
                for (ssize_t n; got.size() < want && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
                    got.append(chunk, static_cast<size_t>(n));
            }
        }
        ::close(fd);
        return got;
    }

    e2e::E2eBoard master, slave1, slave2;
    std::unique_ptr<test::ChainLineProcess> line;
};
}

TEST_F(CascadeMasterEndToEnd, ClientsOfTheMasterSeeAndSwitchTheSlaves)
{
    ASSERT_TRUE(e2e::waitUntil([&] { return listed(1) && listed(2); }, 15)) << line->log();
    const std::string list = mgrCtrl("\x2A", 7 + 3 + 3 * 43);
    ASSERT_EQ(7u + 3 + 3 * 43, list.size()) << test::hexBytes(list);
    EXPECT_EQ(3, list[9]);  // this unit and two slaves

    EXPECT_EQ(R"({"response":2,"result":0})", web(R"({"request":2,"content":{"addr":1,"ports":[2],"action":1}})"));
    EXPECT_TRUE(e2e::waitUntil([&] { return (slave1.emulator().relayBits() & 0x04) != 0; }, 6)) << slave1.output();
    const std::string switched = mgrCtrl(std::string("\x2E\x02\x00\x00\x00\x10\x01", 7), 10);
    EXPECT_EQ(test::hexBytes(test::mgrCtrlFrame(1, std::string("\x2E\x02\x00", 3))), test::hexBytes(switched));
    EXPECT_TRUE(e2e::waitUntil([&] { return (slave2.emulator().relayBits() & 0x10) != 0; }, 6)) << slave2.output();

    // Slave 2 stops: the master marks it invalid; started again, it is back.
    slave2.stop();
    EXPECT_TRUE(e2e::waitUntil([&] { return !listed(2); }, 6)) << master.output();
    EXPECT_TRUE(listed(1));
    ASSERT_TRUE(slave2.start());
    EXPECT_TRUE(e2e::waitUntil([&] { return listed(2); }, 10)) << line->log();
}

TEST_F(CascadeMasterEndToEnd, ASlavesWholeEventLogComesThroughAtLineSpeed)
{
    bool served = false;
    for (const auto& entry : MgrCtrl::MgrCtrlCommandTable::entries())
        served |= entry.code == MgrCtrl::kQuerySystemLog && entry.maker;
    if (!served)
        GTEST_SKIP() << "the manage-control event-log query is not served by this build";
    ASSERT_TRUE(e2e::waitUntil([&] { return listed(1); }, 15)) << line->log();
    // All types from 2026-02-28 to 2026-03-02: only the rows written above.
    const std::string query("\x41\x01\x00\x1A\x02\x1C\x1A\x03\x02", 9);
    const size_t want = 7 + 4 + 1000 * 13;
    const auto asked = e2e::Clock::now();
    const std::string reply = mgrCtrl(query, want, 10);
    const double seconds = std::chrono::duration<double>(e2e::Clock::now() - asked).count();
    ASSERT_EQ(want, reply.size()) << master.output();
    // The answer alone is 13,016 bytes: 3.4 s on the line.
    EXPECT_LT(seconds, 3.4 + 1.5);
    EXPECT_TRUE(listed(1));
    std::printf("event log of 1,000 rows relayed in %.2f s\n", seconds);
}

TEST_F(CascadeMasterEndToEnd, ARequestForAnAnsweringSlaveIsAnsweredWhileManyWaitForASilentOne)
{
    ASSERT_TRUE(e2e::waitUntil([&] { return listed(1) && listed(2); }, 15)) << line->log();
    slave2.stop();
    // One client asks the silent slave 150 times at once, then on and on.
    const int flooder = master.socketInNamespace(SOCK_DGRAM);
    muduo::net::InetAddress to("127.0.0.1", 8888);
    ASSERT_EQ(0, ::connect(flooder, to.getSockAddr(), sizeof(sockaddr_in)));
    const std::string forSlave2 = R"({"request":21,"content":{"addr":2,"port":255}})";
    for (int i = 0; i < 150; ++i)
        ASSERT_EQ(ssize_t(forSlave2.size()), ::send(flooder, forSlave2.data(), forSlave2.size(), 0));
    std::atomic<bool> flooding{true};
    std::thread more([&] {
        for (; flooding; std::this_thread::sleep_for(std::chrono::milliseconds(50)))
            ::send(flooder, forSlave2.data(), forSlave2.size(), MSG_DONTWAIT);
    });
    // Another client's request for slave 1 is relayed and answered in time.
    const int asker = master.socketInNamespace(SOCK_DGRAM);
    timeval wait = {10, 0};
    ::setsockopt(asker, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    EXPECT_EQ(0, ::connect(asker, to.getSockAddr(), sizeof(sockaddr_in)));
    const std::string forSlave1 = R"({"request":21,"content":{"addr":1,"port":255}})";
    EXPECT_EQ(ssize_t(forSlave1.size()), ::send(asker, forSlave1.data(), forSlave1.size(), 0));
    char answer[1024] = {};
    const ssize_t got = ::recv(asker, answer, sizeof answer - 1, 0);
    ::close(asker);
    flooding = false;
    more.join();
    ::close(flooder);
    EXPECT_GT(got, 0) << master.output();
    EXPECT_EQ(0, std::string(answer).find("{\"response\":21,\"result\":")) << answer;
    EXPECT_TRUE(listed(1));
}
