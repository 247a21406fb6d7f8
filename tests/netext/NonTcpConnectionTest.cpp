#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <string>

#include "muduo/net/EventLoop.h"
#include "netext/NonTcpConnection.h"
#include "netext/SocketsExt.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/PlainUdp.h"

using muduo::net::Buffer;
using muduo::net::EventLoop;
using muduo::net::InetAddress;
using muduo::net::NonTcpConnection;
using muduo::net::NonTcpConnectionPtr;

TEST(NonTcpConnectionTest, UdpExchangeOnLoopback)
{
    EventLoop loop;
    test::PlainUdp peer;
    auto conn = std::make_shared<NonTcpConnection>(&loop, peer.address(), true);
    EXPECT_EQ(NonTcpConnection::kIdle, conn->state());
    std::string got;
    int completes = 0;
    conn->setMessageCallback([&](const NonTcpConnectionPtr&, Buffer* b, muduo::Timestamp) {
        got += b->retrieveAllAsString();
    });
    conn->setWriteCompleteCallback([&](const NonTcpConnectionPtr&) { ++completes; });
    conn->connect();
    EXPECT_EQ(NonTcpConnection::kConnected, conn->state());
    conn->send("ping");
    std::string request;
    InetAddress from;
    ASSERT_TRUE(test::loopUntil(loop, [&] { return peer.tryRecv(request, &from); }, 5.0));
    EXPECT_EQ("ping", request);
    ASSERT_TRUE(peer.sendTo(from, "pong"));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return got == "pong"; }, 5.0));
    EXPECT_EQ(1, completes);
}

TEST(NonTcpConnectionTest, UnconnectableAddressLogsAndStaysSilent)
{
    EventLoop loop;
    test::LogCapture log;
    // Without SO_BROADCAST the broadcast address refuses a connect.
    auto conn = std::make_shared<NonTcpConnection>(&loop, InetAddress("255.255.255.255", 9), true);
    conn->connect();
    EXPECT_EQ(NonTcpConnection::kFailed, conn->state());
    EXPECT_TRUE(log.contains("connect to 255.255.255.255:9 failed"));
    // What it is given is dropped, not kept for ever (a watchdog probes every interval).
    for (int i = 0; i < 100; ++i)
        conn->send("probe");
    EXPECT_EQ(0u, conn->queuedBytes());
}

TEST(SocketsExtTest, HostOrderAddressAndDatagramHelpers)
{
    struct sockaddr_in addr;
    ::memset(&addr, 0xFF, sizeof addr);
    muduo::net::sockets::fromIpPort(0x7F000001u, 502, &addr);
    EXPECT_EQ(AF_INET, addr.sin_family);
    EXPECT_EQ(htonl(0x7F000001u), addr.sin_addr.s_addr);
    EXPECT_EQ(htons(502), addr.sin_port);

    test::PlainUdp peer;
    int fd = muduo::net::sockets::createNonblockingUdpOrDie(AF_INET);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(4, muduo::net::sockets::sendto(fd, "abcd", 4, peer.address().getSockAddr()));
    std::string got;
    InetAddress from;
    for (int i = 0; i < 500 && !peer.tryRecv(got, &from); ++i)
        ::usleep(2000);
    EXPECT_EQ("abcd", got);
    ASSERT_TRUE(peer.sendTo(from, "back"));
    char buf[16];
    struct sockaddr_in6 src;
    ssize_t n = -1;
    for (int i = 0; i < 500 && (n = muduo::net::sockets::recvfrom(fd, buf, sizeof buf, &src)) < 0; ++i)
        ::usleep(2000);
    ASSERT_EQ(4, n);
    EXPECT_EQ("back", std::string(buf, 4));
    EXPECT_EQ(AF_INET, reinterpret_cast<struct sockaddr_in*>(&src)->sin_family);
    ::close(fd);
}
