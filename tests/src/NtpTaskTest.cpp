#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "NtpClient.h"
#include "NtpTask.h"
#include "muduo/net/EventLoop.h"
#include "netext/UdpServer.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"
#include "support/LoopUntil.h"
#include "support/NetNamespace.h"
#include "support/PlainUdp.h"
#include "support/TempBoard.h"

using muduo::net::EventLoop;
using muduo::net::InetAddress;

namespace
{
const int64_t kYear2001 = 978307200;

int64_t hostSeconds() { return (board::wallClockMicros() - board::wallClockOffsetMicros()) / 1000000; }

std::string readFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A real NTP server on 127.0.0.1:123 of the test's namespace, never allowed
// to touch a clock (-x).
class Chrony
{
public:
    Chrony() : dir_(test::makeTempDir("railbox-chrony")), pid_(-1)
    {
        std::ofstream conf(dir_ + "/chrony.conf");
        conf << "port 123\nlocal stratum 8\nallow 127.0.0.1\nbindaddress 127.0.0.1\ncmdport 0\n"
             << "pidfile " << dir_ << "/chronyd.pid\ndriftfile " << dir_ << "/drift\n";
        conf.close();
        std::string confPath = dir_ + "/chrony.conf";
        std::string logPath = dir_ + "/chronyd.log";
        pid_ = ::fork();
        if (pid_ == 0)
        {
            FILE* log = ::freopen(logPath.c_str(), "w", stderr);
            (void)log;
            ::execlp("chronyd", "chronyd", "-x", "-u", "root", "-d", "-f", confPath.c_str(),
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Chrony()
    {
        if (pid_ > 0)
        {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        test::removeTree(dir_);
    }
    // Waits until the server answers a plain request.
    bool ready()
    {
        test::PlainUdp probe;
        std::string request(48, '\0');
        request[0] = static_cast<char>(0xDB);
        std::string answer;
        for (int i = 0; i < 100; ++i)
        {
            probe.sendTo(InetAddress("127.0.0.1", 123), request);
            ::usleep(100 * 1000);
            if (probe.tryRecv(answer) && answer.size() >= 48)
                return true;
        }
        return false;
    }

private:
    std::string dir_;
    pid_t pid_;
};

// A server on port 123 of the given address that answers every request with
// fixed bytes (from another socket when one is given).
class FakeServer
{
public:
    FakeServer(EventLoop* loop, const std::string& ip, const std::string& answer, test::PlainUdp* from = nullptr)
        : server_(loop, InetAddress(ip, 123), true), requests(0)
    {
        server_.setMessageCallback([this, answer, from](const muduo::net::UdpTranceiverPtr& t,
                                                        const InetAddress& peer, muduo::net::Buffer* buf,
                                                        muduo::Timestamp) {
            ++requests;
            buf->retrieveAll();
            if (from)
                from->sendTo(peer, answer);
            else if (!answer.empty())
                t->send(peer, answer.data(), static_cast<int>(answer.size()));
        });
        server_.start();
    }

private:
    muduo::net::UdpServer server_;

public:
    int requests;
};

// A server's answer: leap 0, version 3, mode 4, stratum 2, then the reference,
// originate, receive and transmit time stamps, each seconds (from 1900) and a
// fraction, big-endian.
std::string serverAnswer(uint32_t reference, uint32_t originate, uint32_t receive, uint32_t transmit)
{
    std::string a(16, '\0');
    a[0] = 0x1C, a[1] = 2;
    const uint32_t stamps[4][2] = {
        {reference, 0x11111111}, {originate, 0x22222222}, {receive, 0x33333333}, {transmit, 0x80000000}};
    for (const auto& stamp : stamps)
        for (uint32_t word : stamp)
            for (int shift = 24; shift >= 0; shift -= 8)
                a += static_cast<char>((word >> shift) & 0xFF);
    return a;
}

class NtpTaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(board::simulated()) << "never set the host's clock";
        ::mkdir(board::path("/bin").c_str(), 0755);
        std::ofstream stub(board::path("/bin/hwclock"));
        stub << "#!/bin/sh\necho \"$@\" >> \"$RAILBOX_ROOT/hwclock.log\"\n";
        stub.close();
        ::chmod(board::path("/bin/hwclock").c_str(), 0755);
        ::unlink(board::path("/hwclock.log").c_str());
        board::setWallClock(kYear2001 * 1000000);
    }

    std::shared_ptr<NtpTask> makeTask(const std::vector<std::string>& servers, int hours = 24)
    {
        auto task = std::make_shared<NtpTask>(&loop_, hours);
        task->setServerIp(servers);
        task->setTimeAdjustedCallback([this] { ++adjusted_; });
        return task;
    }

    EventLoop loop_;
    int adjusted_ = 0;
};
}

TEST(NtpClient, TransmitTimeCountsFrom1900Modulo32Bits)
{
    EXPECT_EQ(2085978496L, NtpClient::transmitSeconds(0));
    EXPECT_EQ(0L, NtpClient::transmitSeconds(2208988800u));
    EXPECT_EQ(1700000000L, NtpClient::transmitSeconds(3908988800u));
}

TEST(NtpClient, RequestWithoutServerSendsNothing)
{
    EventLoop loop;
    NtpClient client(&loop);
    EXPECT_FALSE(client.request());
    EXPECT_EQ(0, client.status());
}

TEST_F(NtpTaskTest, EmptyServerListOnlyWaits)
{
    auto task = makeTask({});
    task->start();
    test::loopUntil(loop_, [] { return false; }, 0.1);
    EXPECT_EQ(NtpTask::kIdle, task->phase());
    EXPECT_EQ(0, adjusted_);
    EXPECT_NEAR(static_cast<double>(kYear2001), static_cast<double>(board::wallClockSeconds()), 60.0);
}

TEST_F(NtpTaskTest, ChronySetsTheSimulatedClock)
{
    RAILBOX_RUN_IN_NETNS();
    Chrony chrony;
    ASSERT_TRUE(chrony.ready());
    auto task = makeTask({"127.0.0.1"});
    task->start();
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return adjusted_ == 1; }, 20.0));
    EXPECT_NEAR(static_cast<double>(hostSeconds()), static_cast<double>(board::wallClockSeconds()), 3.0);
    EXPECT_EQ("-w\n", readFile(board::path("/hwclock.log")));
    EXPECT_EQ(NtpTask::kIdle, task->phase());
    // the next cycle is a day away
    test::loopUntil(loop_, [] { return false; }, 0.2);
    EXPECT_EQ(1, adjusted_);
}

TEST_F(NtpTaskTest, UnresolvableSilentMalformedAndForeignServersFallThrough)
{
    RAILBOX_RUN_IN_NETNS();
    Chrony chrony;
    ASSERT_TRUE(chrony.ready());
    test::PlainUdp stranger("127.0.0.5", 123);
    FakeServer silent(&loop_, "127.0.0.2", "");
    FakeServer malformed(&loop_, "127.0.0.3", std::string(20, '\x01'));
    FakeServer foreign(&loop_, "127.0.0.4", std::string(48, '\x01'), &stranger);
    auto task = makeTask({"no-such-host.invalid", "127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.1"});
    int64_t begin = hostSeconds();
    task->start();
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return adjusted_ == 1; }, 30.0));
    EXPECT_GE(hostSeconds() - begin, 4) << "the silent server is waited for 5 s";
    EXPECT_EQ(1, silent.requests);
    EXPECT_EQ(1, malformed.requests);
    EXPECT_EQ(1, foreign.requests);
    EXPECT_NEAR(static_cast<double>(hostSeconds()), static_cast<double>(board::wallClockSeconds()), 3.0);
}

TEST_F(NtpTaskTest, TransmitTimeZeroWrapsAround)
{
    RAILBOX_RUN_IN_NETNS();
    FakeServer zero(&loop_, "127.0.0.6", std::string(48, '\0'));
    auto task = makeTask({"127.0.0.6"});
    task->start();
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return adjusted_ == 1; }, 20.0));
    EXPECT_NEAR(2085978496.0, static_cast<double>(board::wallClockSeconds()), 3.0);
}

TEST_F(NtpTaskTest, FailedCycleWaitsTheIntervalThenTriesAgain)
{
    RAILBOX_RUN_IN_NETNS();
    FakeServer malformed(&loop_, "127.0.0.3", "short");
    auto task = makeTask({"127.0.0.3"}, 0);
    task->start();
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return malformed.requests >= 3; }, 20.0));
    EXPECT_EQ(0, adjusted_);
    EXPECT_NEAR(static_cast<double>(kYear2001), static_cast<double>(board::wallClockSeconds()), 60.0);
}

TEST_F(NtpTaskTest, TheClockIsSetFromTheTransmitTimeStamp)
{
    RAILBOX_RUN_IN_NETNS();
    const uint32_t transmit = 3908988800u + 12345;  // 1700012345 Unix seconds
    FakeServer server(&loop_, "127.0.0.7", serverAnswer(transmit - 900000, transmit - 70000, transmit - 5000, transmit));
    auto task = makeTask({"127.0.0.7"});
    task->start();
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return adjusted_ == 1; }, 20.0));
    EXPECT_NEAR(1700012345.0, static_cast<double>(board::wallClockSeconds()), 3.0);
}

TEST_F(NtpTaskTest, TheNextCycleIsTheConfiguredHoursAfterTheEndOfTheLast)
{
    RAILBOX_RUN_IN_NETNS();
    FakeServer answering(&loop_, "127.0.0.8", serverAnswer(1, 2, 3, 3908988800u));
    FakeServer malformed(&loop_, "127.0.0.9", "short");
    for (int hours : {1, 24})
        for (const char* server : {"127.0.0.8", "127.0.0.9"})
        {
            SCOPED_TRACE(std::string(server) + ", " + std::to_string(hours) + " h");
            const int requests = answering.requests + malformed.requests;
            auto task = makeTask({server}, hours);
            task->start();
            EXPECT_FALSE(task->nextCycle().valid()) << "a cycle runs";
            ASSERT_TRUE(test::loopUntil(
                loop_, [&] { return answering.requests + malformed.requests > requests && task->phase() == NtpTask::kIdle; },
                20.0));
            const double wait = muduo::timeDifference(task->nextCycle(), muduo::Timestamp::now(true));
            EXPECT_NEAR(hours * 3600.0, wait, 10.0);
        }
    EXPECT_EQ(2, adjusted_);
}
