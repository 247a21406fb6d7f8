// One peer that takes every place the daemon keeps for clients (TCP
// connections, config-port senders) and holds them idle, with a byte now
// and then, or busy: other clients are still served.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "PduServer.h"
#include "e2e/E2eBoard.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/net/InetAddress.h"
#include "src/modbus/ModbusFrames.h"
#include "support/TestFrames.h"

namespace
{
const std::string kModbusAsk = mbtest::frame(4, mbtest::be16s({0, 7}), 1);
const size_t kModbusReply = 9 + 2 * 7;
const std::string kMgrCtrlAsk = test::mgrCtrlFrame(1, "\x2A");  // the device list
const size_t kMgrCtrlReply = 7 + 3 + 43;

// The whole reply to request on a connected socket.
bool answered(int fd, const std::string& request, size_t replySize)
{
    if (fd < 0 || ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()))
        return false;
    std::string got;
    char chunk[256];
    for (ssize_t n; got.size() < replySize && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
        got.append(chunk, static_cast<size_t>(n));
    return got.size() == replySize;
}

// Runs step about every period on a thread of its own until destroyed.
class Repeat
{
public:
    Repeat(double period, std::function<void()> step)
        : thread_([this, period, step] {
              for (auto next = e2e::Clock::now(); !stop_; std::this_thread::sleep_until(next))
              {
                  step();
                  next += std::chrono::duration_cast<e2e::Clock::duration>(std::chrono::duration<double>(period));
              }
          })
    {
    }
    ~Repeat()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class HeldPlaces : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(board.start());
        ASSERT_TRUE(board.waitListening({"tcp 0.0.0.0:502", "tcp 0.0.0.0:8890", "udp 0.0.0.0:6666"}, 10))
            << board.output();
    }
    bool newClientAnswered(uint16_t port, const std::string& request, size_t replySize) const
    {
        const int fd = board.connectInNamespace(SOCK_STREAM, port, 2);
        const bool ok = answered(fd, request, replySize);
        if (fd >= 0)
            ::close(fd);
        return ok;
    }
    // Like connectInNamespace, from another loopback address (127.0.0.x).
    int connectFrom(const char* ip, uint16_t port) const
    {
        const int fd = board.socketInNamespace(SOCK_STREAM);
        timeval wait = {5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        const muduo::net::InetAddress from(ip, 0), to("127.0.0.1", port);
        if (fd >= 0 && ::bind(fd, from.getSockAddr(), sizeof(sockaddr_in)) == 0 &&
            ::connect(fd, to.getSockAddr(), sizeof(sockaddr_in)) == 0)
            return fd;
        ::close(fd);
        return -1;
    }
    int lines(const std::string& text) const
    {
        const std::string log = board.output();
        int n = 0;
        for (size_t at = 0; (at = log.find(text, at)) != std::string::npos; ++at)
            ++n;
        return n;
    }

    e2e::E2eBoard board;
};
}

TEST_F(HeldPlaces, OnePeerHoldingEveryConnectionLeavesRoomForOthers)
{
    // Two clients that ask now and then on one connection each came first.
    const int modbus = board.connectInNamespace(SOCK_STREAM, 502, 5);
    const int mgrCtrl = board.connectInNamespace(SOCK_STREAM, 8890, 5);
    ASSERT_TRUE(answered(modbus, kModbusAsk, kModbusReply));
    ASSERT_TRUE(answered(mgrCtrl, kMgrCtrlAsk, kMgrCtrlReply));
    // The peer asks for every place on both servers and keeps each with a
    // byte a second, never a whole request; one it loses it opens again.
    std::vector<std::pair<uint16_t, int>> held;
    for (uint16_t port : {502, 8890})
        for (size_t i = 0; i < PduServer::kMaxConnectionsPerServer; ++i)
            held.emplace_back(port, -1);
    std::atomic<int> opened{0};
    auto peer = std::make_unique<Repeat>(1.0, [&] {
        for (auto& [port, fd] : held)
        {
            char byte;
            const ssize_t n = fd < 0 ? 0 : ::recv(fd, &byte, 1, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
            {
                if (fd >= 0)
                    ::close(fd);
                fd = board.connectInNamespace(SOCK_STREAM, port, 1);
                ++opened;
            }
            ::send(fd, "", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
    });
    // Each server has refused one of the peer's: it holds every place.
    ASSERT_TRUE(e2e::waitUntil(
        [&] { return lines("[modbusServer] - connection from") > 0 && lines("[mgrCtrl] - connection from") > 0; },
        60));
    const auto start = e2e::Clock::now();
    int lost = 0;  // answers the two clients did not get
    bool modbusServed = false, mgrCtrlServed = false;
    // A new client gets a place once the peer's have been idle past the
    // grace; the two clients keep theirs all along.
    e2e::waitUntil(
        [&] {
            lost += !answered(modbus, kModbusAsk, kModbusReply) + !answered(mgrCtrl, kMgrCtrlAsk, kMgrCtrlReply);
            modbusServed = modbusServed || newClientAnswered(502, kModbusAsk, kModbusReply);
            mgrCtrlServed = mgrCtrlServed || newClientAnswered(8890, kMgrCtrlAsk, kMgrCtrlReply);
            return modbusServed && mgrCtrlServed &&
                   e2e::Clock::now() - start > std::chrono::duration<double>(2 * PduServer::kRoomAfterIdleSeconds);
        },
        60, 500);
    peer.reset();
    EXPECT_TRUE(modbusServed);
    EXPECT_TRUE(mgrCtrlServed);
    EXPECT_EQ(0, lost);
    EXPECT_GT(opened.load(), int(held.size()));  // it took places back, and went on trying
    for (auto& item : held)
        ::close(item.second);
    ::close(modbus);
    ::close(mgrCtrl);
    EXPECT_TRUE(board.running());
}

TEST_F(HeldPlaces, AnotherAddressIsServedAtOnceWhileOneKeepsEveryConnectionBusy)
{
    auto ask = [](uint16_t port, int fd) {
        return port == 502 ? answered(fd, kModbusAsk, kModbusReply) : answered(fd, kMgrCtrlAsk, kMgrCtrlReply);
    };
    // 127.0.0.1 holds every place on both servers and asks on each every
    // 3 s; a place it loses it does not take back.
    std::vector<std::pair<uint16_t, int>> held;
    for (uint16_t port : {502, 8890})
        for (size_t i = 0; i < PduServer::kMaxConnectionsPerServer; ++i)
            held.emplace_back(port, board.connectInNamespace(SOCK_STREAM, port, 5));
    for (auto& [port, fd] : held)
        ASSERT_TRUE(ask(port, fd));
    std::atomic<int> lost{0}, tried{0}, extraServed{0};
    auto busy = std::make_unique<Repeat>(3.0, [&] {
        for (auto& [port, fd] : held)
            if (fd >= 0 && !ask(port, fd))
            {
                ::close(fd);
                fd = -1;
                ++lost;
            }
    });
    // It also opens a new connection on each twice a second.
    auto opener = std::make_unique<Repeat>(0.5, [&] {
        for (uint16_t port : {502, 8890})
        {
            const int fd = board.connectInNamespace(SOCK_STREAM, port, 2);
            extraServed += ask(port, fd);
            ++tried;
            if (fd >= 0)
                ::close(fd);
        }
    });
    // A client of another address is answered at its first try on each,
    // and keeps its place idle past the grace while the peer goes on.
    const int modbus = connectFrom("127.0.0.2", 502), mgrCtrl = connectFrom("127.0.0.2", 8890);
    EXPECT_TRUE(ask(502, modbus));
    EXPECT_TRUE(ask(8890, mgrCtrl));
    std::this_thread::sleep_for(std::chrono::duration<double>(1.5 * PduServer::kRoomAfterIdleSeconds));
    EXPECT_TRUE(ask(502, modbus));
    EXPECT_TRUE(ask(8890, mgrCtrl));
    busy.reset();
    opener.reset();
    EXPECT_EQ(2, lost.load());  // one place on each server
    EXPECT_EQ(0, extraServed.load());
    EXPECT_GT(tried.load(), 20);
    for (auto& item : held)
        ::close(item.second);
    ::close(modbus);
    ::close(mgrCtrl);
    EXPECT_TRUE(board.running());
}

TEST_F(HeldPlaces, SeventySendersTricklingBytesLeaveTheConfigPortAnswering)
{
    std::vector<int> senders(70);
    for (int& fd : senders)
        ASSERT_GE(fd = board.connectInNamespace(SOCK_DGRAM, 6666, 1), 0);
    const auto start = e2e::Clock::now();
    auto trickle = std::make_unique<Repeat>(0.25, [&] {
        for (int fd : senders)
            ::send(fd, "x", 1, 0);
    });
    std::this_thread::sleep_for(std::chrono::seconds(1));  // every place taken
    const int client = board.connectInNamespace(SOCK_DGRAM, 6666, 2);
    const std::string uid = test::configFrame(16, test::configField("G020300000000061"));
    int answered = 0;
    for (int i = 0; i < 10; ++i)
    {
        unsigned char answer[64];
        ::send(client, uid.data(), uid.size(), 0);
        answered += ::recv(client, answer, sizeof answer, 0) == 20 && answer[2] == 16 && answer[3] == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    trickle.reset();
    const double seconds = std::chrono::duration<double>(e2e::Clock::now() - start).count();
    EXPECT_EQ(10, answered);
    EXPECT_EQ("G020300000000061", board.sql("pdu.db", "select value from settings where name='hard_id'"));
    // Each place taken over is a warning, held to the interface's rate.
    const int busy = lines("config port busy");
    EXPECT_GT(busy, 0);
    EXPECT_LE(busy, muduo::LogLimiter::kPeerLinesPerSecond * (int(seconds) + 2)) << seconds << " s";
    for (int fd : senders)
        ::close(fd);
    ::close(client);
}
