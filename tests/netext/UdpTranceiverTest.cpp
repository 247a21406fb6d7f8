#include <gtest/gtest.h>

#include <sys/socket.h>
#include <thread>
#include <vector>

#include "muduo/net/EventLoop.h"
#include "muduo/net/SocketsOps.h"
#include "netext/UdpServer.h"
#include "netext/UdpTranceiver.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/NetNamespace.h"
#include "support/PlainUdp.h"

using muduo::Timestamp;
using muduo::net::Buffer;
using muduo::net::EventLoop;
using muduo::net::InetAddress;
using muduo::net::UdpServer;
using muduo::net::UdpTranceiver;
using muduo::net::UdpTranceiverPtr;

namespace
{
InetAddress localOf(const UdpTranceiver& t) { return InetAddress(muduo::net::sockets::getLocalAddr(t.fd())); }

struct Received
{
    std::vector<std::string> datagrams;
    std::vector<std::string> senders;
};

muduo::net::UdpMessageCallback recorder(Received& r, bool retrieve = true)
{
    return [&r, retrieve](const UdpTranceiverPtr&, const InetAddress& from, Buffer* buf, Timestamp) {
        r.datagrams.emplace_back(buf->peek(), buf->readableBytes());
        r.senders.push_back(from.toIpPort());
        if (retrieve)
            buf->retrieveAll();
    };
}

bool receiveOne(EventLoop& loop, test::PlainUdp& peer, std::string& data, InetAddress* from = nullptr)
{
    return test::loopUntil(loop, [&] { return peer.tryRecv(data, from); }, 5.0);
}
}

TEST(UdpTranceiver, DeliversEachDatagramWithItsSenderAndSkipsEmptyOnes)
{
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, InetAddress("127.0.0.1", 0), true);
    Received r;
    t->setMessageCallback(recorder(r));
    t->startRead();
    test::PlainUdp peer;
    ASSERT_TRUE(peer.sendTo(localOf(*t), ""));
    ASSERT_TRUE(peer.sendTo(localOf(*t), "hello"));
    ASSERT_TRUE(peer.sendTo(localOf(*t), "world"));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return r.datagrams.size() >= 2; }, 5.0));
    test::loopUntil(loop, [] { return false; }, 0.05);
    ASSERT_EQ(2u, r.datagrams.size());
    EXPECT_EQ("hello", r.datagrams[0]);
    EXPECT_EQ("world", r.datagrams[1]);
    EXPECT_EQ(peer.address().toIpPort(), r.senders[0]);
}

TEST(UdpTranceiver, BytesLeftInTheBufferComeBeforeTheNextDatagram)
{
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, InetAddress("127.0.0.1", 0), true);
    Received r;
    t->setMessageCallback(recorder(r, false));
    t->startRead();
    test::PlainUdp peer;
    peer.sendTo(localOf(*t), "ab");
    ASSERT_TRUE(test::loopUntil(loop, [&] { return r.datagrams.size() == 1; }, 5.0));
    peer.sendTo(localOf(*t), "cd");
    ASSERT_TRUE(test::loopUntil(loop, [&] { return r.datagrams.size() == 2; }, 5.0));
    EXPECT_EQ("abcd", r.datagrams[1]);
}

TEST(UdpTranceiver, ReadsOnlyBetweenStartAndStop)
{
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, InetAddress("127.0.0.1", 0), true);
    Received r;
    t->setMessageCallback(recorder(r));
    test::PlainUdp peer;
    peer.sendTo(localOf(*t), "early");
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_TRUE(r.datagrams.empty());
    t->startRead();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return r.datagrams.size() == 1; }, 5.0));
    EXPECT_EQ("early", r.datagrams[0]);
    t->stopRead();
    peer.sendTo(localOf(*t), "late");
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ(1u, r.datagrams.size());
}

TEST(UdpTranceiver, IdleSendGoesAtOnceAndReportsCompletion)
{
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, true);  // unbound
    std::vector<std::string> completed;
    t->setWriteCompleteCallback(
        [&](const UdpTranceiverPtr&, const InetAddress& to) { completed.push_back(to.toIpPort()); });
    test::PlainUdp peer;
    t->send(peer.address(), "ping", 4);
    std::string data;
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("ping", data);
    // an empty send on an idle transceiver is an empty datagram
    t->send(peer.address(), "", 0);
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("", data);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return completed.size() == 2; }, 5.0));
    EXPECT_EQ(peer.address().toIpPort(), completed[0]);
}

TEST(UdpTranceiver, SendFromAnotherThreadRunsOnTheLoop)
{
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, true);
    test::PlainUdp peer;
    InetAddress to = peer.address();
    std::thread other([&] { t->send(to, muduo::StringPiece("from afar")); });
    std::string data;
    ASSERT_TRUE(receiveOne(loop, peer, data));
    other.join();
    EXPECT_EQ("from afar", data);
}

TEST(UdpServer, CallbacksSetAfterStartDoNotReachTheTranceiver)
{
    EventLoop loop;
    UdpServer server(&loop, InetAddress("127.0.0.1", 0), true);
    Received before, after;
    server.setMessageCallback(recorder(before));
    server.start();
    server.setMessageCallback(recorder(after));
    test::PlainUdp peer;
    peer.sendTo(localOf(*server.tranceiver()), "q");
    ASSERT_TRUE(test::loopUntil(loop, [&] { return before.datagrams.size() == 1; }, 5.0));
    EXPECT_TRUE(after.datagrams.empty());
    server.send(peer.address(), "a", 1);
    std::string data;
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("a", data);
}

// With only loopback in the namespace, other networks are unreachable.
TEST(UdpTranceiverNetns, UnreachableDestinationIsDroppedWithOneErrorLine)
{
    RAILBOX_RUN_IN_NETNS();
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, true);
    std::vector<std::string> completed;
    t->setWriteCompleteCallback(
        [&](const UdpTranceiverPtr&, const InetAddress& to) { completed.push_back(to.toIpPort()); });
    test::PlainUdp peer;
    test::LogCapture log;
    t->send(InetAddress("10.1.2.3", 9), "lost", 4);
    t->send(peer.address(), "kept", 4);
    std::string data;
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("kept", data);
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ(1, log.count("UdpTranceiver::sendInLoop"));
    EXPECT_FALSE(log.contains("enable writing"));
    ASSERT_EQ(1u, completed.size());
    EXPECT_EQ(peer.address().toIpPort(), completed[0]);
}

// A slow token bucket on loopback holds datagrams in the kernel, so a small
// send buffer fills and the transceiver has to queue.
TEST(UdpTranceiverNetns, RefusedDatagramsQueueOneEntryPerDestination)
{
    RAILBOX_RUN_IN_NETNS();
    ASSERT_EQ(0, ::system("tc qdisc add dev lo root tbf rate 8mbit burst 66000 limit 1000000"));
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, true);
    int small = 4096;
    ::setsockopt(t->fd(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    std::vector<std::string> completed;
    t->setWriteCompleteCallback(
        [&](const UdpTranceiverPtr&, const InetAddress& to) { completed.push_back(to.toIpPort()); });
    test::PlainUdp filler, first, second;
    test::LogCapture log;
    std::string block(1000, 'f');
    bool queued = false;
    for (int i = 0; i < 400 && !queued; ++i)
    {
        t->send(filler.address(), block);
        queued = log.contains("enable writing");
    }
    ASSERT_TRUE(queued) << "the socket never refused a datagram";
    t->send(first.address(), "A1");
    t->send(second.address(), "B1");
    t->send(first.address(), "A2");
    std::string a, b, extra;
    ASSERT_TRUE(receiveOne(loop, first, a));
    ASSERT_TRUE(receiveOne(loop, second, b));
    EXPECT_EQ("A1A2", a);
    EXPECT_EQ("B1", b);
    test::loopUntil(loop, [] { return false; }, 0.1);
    EXPECT_FALSE(first.tryRecv(extra));
    ASSERT_GE(completed.size(), 2u);
    EXPECT_EQ(first.address().toIpPort(), completed[completed.size() - 2]);
    EXPECT_EQ(second.address().toIpPort(), completed.back());
}

// A refusal that waiting cannot cure (broadcast without permission) is tried
// once more when the socket is writable, then dropped; it does not block the
// destinations queued behind it.
TEST(UdpTranceiverNetns, PermanentlyRefusedDatagramIsDroppedAfterOneRetry)
{
    RAILBOX_RUN_IN_NETNS();
    EventLoop loop;
    auto t = std::make_shared<UdpTranceiver>(&loop, true);
    test::PlainUdp peer;
    test::LogCapture log;
    t->send(InetAddress("127.255.255.255", 9), "all", 3);
    t->send(peer.address(), "one", 3);
    std::string data;
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("one", data);
    EXPECT_EQ(1, log.count("enable writing"));
    EXPECT_EQ(1, log.count("dropped"));
    t->send(peer.address(), "two", 3);
    ASSERT_TRUE(receiveOne(loop, peer, data));
    EXPECT_EQ("two", data);
    EXPECT_EQ(1, log.count("enable writing"));
}
