#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include "muduo/net/Buffer.h"
#include "muduo/net/InetAddress.h"
#include "muduo/net/Socket.h"
#include "netext/SocketsExt.h"

using namespace muduo::net;

TEST(SocketAdditions, HostOrderAddressesRoundTrip)
{
    InetAddress addr(0x7F000001u, static_cast<uint16_t>(502));
    EXPECT_EQ(addr.toIpPort(), "127.0.0.1:502");
    EXPECT_EQ(addr.ipHostEndian(), 0x7F000001u);
    EXPECT_EQ(addr.portHostEndian(), 502);
}

TEST(SocketAdditions, ReadFromFdTakesOneDatagramAndItsSender)
{
    int rx = sockets::createNonblockingUdpOrDie(AF_INET);
    int tx = sockets::createNonblockingUdpOrDie(AF_INET);
    InetAddress any(0x7F000001u, static_cast<uint16_t>(0));
    ASSERT_EQ(::bind(rx, any.getSockAddr(), sizeof(sockaddr_in)), 0);
    ASSERT_EQ(::bind(tx, any.getSockAddr(), sizeof(sockaddr_in)), 0);
    sockaddr_in rxAddr{}, txAddr{};
    socklen_t len = sizeof rxAddr;
    ::getsockname(rx, reinterpret_cast<sockaddr*>(&rxAddr), &len);
    len = sizeof txAddr;
    ::getsockname(tx, reinterpret_cast<sockaddr*>(&txAddr), &len);

    ASSERT_EQ(sockets::sendto(tx, "first", 5, reinterpret_cast<sockaddr*>(&rxAddr)), 5);
    ASSERT_EQ(sockets::sendto(tx, "second", 6, reinterpret_cast<sockaddr*>(&rxAddr)), 6);
    ::usleep(20000);

    Buffer buf;
    InetAddress peer;
    int err = 0;
    ASSERT_EQ(buf.readFromFd(rx, peer, &err), 5);  // one datagram per call
    EXPECT_EQ(buf.retrieveAllAsString(), "first");
    EXPECT_EQ(peer.toIpPort(), InetAddress(txAddr).toIpPort());
    ASSERT_EQ(buf.readFromFd(rx, peer, &err), 6);
    EXPECT_EQ(buf.retrieveAllAsString(), "second");
    EXPECT_LT(buf.readFromFd(rx, peer, &err), 0);
    EXPECT_EQ(err, EAGAIN);
    ::close(tx);
    ::close(rx);
}

TEST(SocketAdditions, BufferSizesAreSetAndRead)
{
    Socket sock(sockets::createNonblockingUdpOrDie(AF_INET));
    sock.setReadBufSize(65536);
    sock.setWriteBufSize(32768);
    EXPECT_GE(sock.getReadBufSize(), 65536);  // the kernel doubles what it is given
    EXPECT_GE(sock.getWriteBufSize(), 32768);
    Socket none(-1);
    EXPECT_EQ(none.getReadBufSize(), -1);
}
