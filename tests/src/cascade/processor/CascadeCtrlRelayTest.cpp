// Relays on a pseudo-terminal standing in for the cascade line, the relay
// family's command codes, and the answer senders on real sockets.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SerialPort.h"
#include "cascade/processor/CascadeCtrlRelays.h"
#include "cascade/processor/CascadeCtrlTcpSender.h"
#include "cascade/processor/CascadeCtrlUdpSender.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/TcpServer.h"
#include "platform/core/BoardRoot.h"
#include "platform/pmemu/PmPty.h"
#include "support/LoopUntil.h"
#include "support/PlainUdp.h"
#include "support/TestFrames.h"

namespace
{
using namespace CascadeCtrl;
using test::Bytes;

// What the far end of the line receives within the time.
Bytes drain(muduo::net::EventLoop& loop, int fd, size_t want)
{
    Bytes got;
    test::loopUntil(
        loop,
        [&] {
            unsigned char chunk[256];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0)
                got.insert(got.end(), chunk, chunk + n);
            return got.size() >= want;
        },
        2.0);
    return got;
}
}

TEST(CascadeCtrlRelayTest, EachSendingCarriesAFreshSequence)
{
    pmemu::PmPty line;
    std::string error;
    ASSERT_TRUE(line.open(board::path("/dev/ttyS3"), error)) << error;
    ::fcntl(line.masterFd(), F_SETFL, ::fcntl(line.masterFd(), F_GETFL) | O_NONBLOCK);
    muduo::net::EventLoop loop;
    auto port = std::make_shared<SerialPort>(&loop, "/dev/ttyS3");
    port->configUart(38400);

    CascadeCtrlOperatePortRequest<uint32_t> request;
    request.mask = 0x81, request.action = 1;
    auto relay = std::make_shared<CascadeCtrlOperatePortRelay>(kCascadeRelayMgrCtrl, 3, request);
    relay->transferRemote();  // no serial port yet: nothing goes out
    relay->setSerialPort(port);
    CascadeCtrlRelay::s_sequence = 65535;
    relay->transferRemote();
    EXPECT_EQ(65535, relay->sequence());
    relay->transferRemote();
    EXPECT_EQ(0, relay->sequence());

    const Bytes payload = {0x02, 0x00, 0x00, 0x00, 0x81, 0x01};
    Bytes both = test::cascadeFrame(3, 65535, payload);
    const Bytes second = test::cascadeFrame(3, 0, payload);
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(both, drain(loop, line.masterFd(), both.size()));
}

TEST(CascadeCtrlRelayTest, EveryRelayWritesItsCommand)
{
    const CascadeRelayType web = kCascadeRelayWeb;
    const std::vector<std::pair<std::shared_ptr<CascadeCtrlRelay>, int>> family = {
        {std::make_shared<CascadeCtrlLocalQueryDeviceInfoRelay>(), 1},
        {std::make_shared<CascadeCtrlOperatePortRelay>(web), 2},
        {std::make_shared<CascadeCtrlQueryNameRelay>(web), 3},
        {std::make_shared<CascadeCtrlSetNameRelay>(web), 4},
        {std::make_shared<CascadeCtrlQueryNetworkRelay>(web), 5},
        {std::make_shared<CascadeCtrlSetNetworkRelay>(web), 6},
        {std::make_shared<CascadeCtrlLocalQueryDeviceStatusRelay>(), 7},
        {std::make_shared<CascadeCtrlQueryOutputThresholdRelay>(web), 8},
        {std::make_shared<CascadeCtrlSetOutputThresholdRelay>(web), 9},
        {std::make_shared<CascadeCtrlQueryInputThresholdRelay>(web), 10},
        {std::make_shared<CascadeCtrlSetInputThresholdRelay>(web), 11},
        {std::make_shared<CascadeCtrlQueryTempHumThresholdRelay>(web), 12},
        {std::make_shared<CascadeCtrlSetTempHumThresholdRelay>(web), 13},
        {std::make_shared<CascadeCtrlQueryPortDelayRelay>(web), 14},
        {std::make_shared<CascadeCtrlSetPortDelayRelay>(web), 15},
        {std::make_shared<CascadeCtrlQueryScheduledTaskRelay>(web), 16},
        {std::make_shared<CascadeCtrlAddScheduledTaskRelay>(web), 17},
        {std::make_shared<CascadeCtrlUpdateScheduledTaskRelay>(web), 18},
        {std::make_shared<CascadeCtrlDeleteScheduledTaskRelay>(web), 19},
        {std::make_shared<CascadeCtrlQueryTimeRelay>(web), 20},
        {std::make_shared<CascadeCtrlSetTimeRelay>(web), 21},
        {std::make_shared<CascadeCtrlClearEnergyRelay>(web), 22},
        {std::make_shared<CascadeCtrlRebootRelay>(web), 23},
        {std::make_shared<CascadeCtrlQueryLogRelay>(web), 24},
        {std::make_shared<CascadeCtrlQueryEnergyRelay>(web), 25},
        {std::make_shared<CascadeCtrlSetNewAddrRelay>(web), 26},
        {std::make_shared<CascadeCtrlSetPingRelay>(web), 27},
        {std::make_shared<CascadeCtrlTestPingRelay>(web), 28},
        {std::make_shared<CascadeCtrlTestPingStatusRelay>(web), 29},
        {std::make_shared<CascadeCtrlQueryPingRelay>(web), 30},
        {std::make_shared<CascadeCtrlLocalQueryDeviceInfoExtRelay>(), 31},
        {std::make_shared<CascadeCtrlOperatePortExtRelay>(web), 32},
        {std::make_shared<CascadeCtrlSetNameExtRelay>(web), 34},
        {std::make_shared<CascadeCtrlLocalQueryDeviceStatusExtRelay>(), 35},
        {std::make_shared<CascadeCtrlSetOutputThresholdExtRelay>(web), 36},
        {std::make_shared<CascadeCtrlSetPortDelayExtRelay>(web), 37},
        {std::make_shared<CascadeCtrlQueryScheduledTaskExtRelay>(web), 38},
        {std::make_shared<CascadeCtrlAddScheduledTaskExtRelay>(web), 39},
        {std::make_shared<CascadeCtrlUpdateScheduledTaskExtRelay>(web), 40},
        {std::make_shared<CascadeCtrlQueryEnergyExtRelay>(web), 41},
        {std::make_shared<CascadeCtrlSetPingExtRelay>(web), 42},
        {std::make_shared<CascadeCtrlQueryPingExtRelay>(web), 43},
    };
    ASSERT_EQ(42u, family.size());
    for (const auto& member : family)
    {
        muduo::net::Buffer payload;
        member.first->buildRequestData(payload);
        ASSERT_GE(payload.readableBytes(), 1u);
        EXPECT_EQ(member.second, static_cast<uint8_t>(payload.peek()[0]));
        const bool poll = member.second == 1 || member.second == 7 || member.second == 31 || member.second == 35;
        EXPECT_EQ(poll ? kCascadeRelayLocal : kCascadeRelayWeb, member.first->type()) << member.second;
    }
}

TEST(CascadeCtrlRelayTest, SendersDeliverToTheWaitingPeer)
{
    muduo::net::EventLoop loop;
    test::PlainUdp webClient;
    auto tranceiver = std::make_shared<muduo::net::UdpTranceiver>(&loop, false);
    auto relay = std::make_shared<CascadeCtrlClearEnergyRelay>(kCascadeRelayWeb);
    relay->sendLocal("lost", 4);  // no sender: dropped with a log line
    relay->setSender(std::make_shared<CascadeCtrlUdpSender>(tranceiver, webClient.address()));
    relay->sendLocal("{\"response\":13}", 15);
    std::string datagram;
    ASSERT_TRUE(test::loopUntil(loop, [&] { return webClient.tryRecv(datagram); }, 2.0));
    EXPECT_EQ("{\"response\":13}", datagram);

    muduo::net::TcpServer server(&loop, muduo::net::InetAddress("127.0.0.1", 0), "cascadeSenderTest");
    muduo::net::TcpConnectionPtr connection;
    server.setConnectionCallback([&](const muduo::net::TcpConnectionPtr& c) { connection = c; });
    server.start();
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(client, server.listenAddress().getSockAddr(), sizeof(sockaddr_in));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return connection && connection->connected(); }, 2.0));
    relay->setSender(std::make_shared<CascadeCtrlTcpSender>(connection));
    relay->sendLocal("\xA4\x02\x01", 3);
    EXPECT_EQ(Bytes({0xA4, 0x02, 0x01}), drain(loop, client, 3));
    ::close(client);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !connection->connected(); }, 2.0));
    relay->sendLocal("late", 4);  // the client left: dropped without a word
    relay.reset();
}
