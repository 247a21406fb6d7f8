#include "muduo/net/TcpServer.h"

#include <arpa/inet.h>
#include <atomic>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include "LoopThread.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/InetAddress.h"

using muduo::Timestamp;
using muduo::net::Buffer;
using muduo::net::EventLoop;
using muduo::net::InetAddress;
using muduo::net::TcpConnectionPtr;
using muduo::net::TcpServer;

namespace
{
// A blocking client with a receive time-out, so a broken server cannot hang a test.
class Client
{
public:
    // From a loopback address of its own (such as 127.0.0.2) when given one.
    explicit Client(uint16_t port, const char* from = nullptr) : fd_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        if (from)
            ::bind(fd_, InetAddress(from, 0).getSockAddr(), sizeof(struct sockaddr_in));
        struct timeval tv = {10, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        // A small fixed window keeps the kernel from absorbing the server's output.
        int window = 64 * 1024;
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
        InetAddress server("127.0.0.1", port);
        connected_ = ::connect(fd_, server.getSockAddr(), sizeof(struct sockaddr_in)) == 0;
    }
    ~Client() { ::close(fd_); }
    bool connected() const { return connected_; }
    bool sendAll(const std::string& data)
    {
        size_t done = 0;
        while (done < data.size())
        {
            ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    // Reads until `len` bytes or EOF / time-out.
    std::string receive(size_t len, size_t chunk = 65536)
    {
        std::string out;
        std::string buf(chunk, '\0');
        while (out.size() < len)
        {
            ssize_t n = ::read(fd_, &buf[0], std::min(chunk, len - out.size()));
            if (n <= 0)
                break;
            out.append(buf.data(), static_cast<size_t>(n));
        }
        return out;
    }
    bool atEof()
    {
        char c;
        return ::read(fd_, &c, 1) == 0;
    }
    void shutdownWrite() { ::shutdown(fd_, SHUT_WR); }

private:
    int fd_;
    bool connected_;
};

std::string pattern(size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return s;
}

// A server on its own loop thread, built and destroyed there.
struct ServerFixture
{
    std::unique_ptr<TcpServer> server;
    uint16_t port = 0;
    std::unique_ptr<LoopThread> thread;

    explicit ServerFixture(std::function<void(TcpServer*)> configure)
    {
        thread.reset(new LoopThread(
            [this, configure](EventLoop* loop) {
                server.reset(new TcpServer(loop, InetAddress("127.0.0.1", 0), "echo"));
                configure(server.get());
                server->start();
                port = server->listenAddress().port();
            },
            [this] { server.reset(); }));
    }
    ~ServerFixture() { thread.reset(); }
};

class TcpServerTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam())
            ::setenv("MUDUO_USE_POLL", "1", 1);
    }
    void TearDown() override { ::unsetenv("MUDUO_USE_POLL"); }
};
}  // namespace

TEST_P(TcpServerTest, EchoesPartialWritesAndQueuesLargeOutput)
{
    std::atomic<int> ups{0}, downs{0}, writeCompletes{0};
    std::promise<std::string> name;
    ServerFixture fixture([&](TcpServer* server) {
        server->setConnectionCallback([&](const TcpConnectionPtr& conn) {
            if (conn->connected())
            {
                ++ups;
                name.set_value(conn->name());
            }
            else
            {
                ++downs;
            }
        });
        server->setMessageCallback(
            [](const TcpConnectionPtr& conn, Buffer* buf, Timestamp) { conn->send(buf); });
        server->setWriteCompleteCallback([&](const TcpConnectionPtr&) { ++writeCompletes; });
    });
    ASSERT_NE(fixture.port, 0);
    EXPECT_EQ(fixture.server->ipPort(), "127.0.0.1:" + std::to_string(fixture.port));

    {
        Client client(fixture.port);
        ASSERT_TRUE(client.connected());
        std::future<std::string> connName = name.get_future();
        ASSERT_EQ(connName.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_EQ(connName.get(), "echo-127.0.0.1:" + std::to_string(fixture.port) + "#1");

        // Small pieces, read back in pieces smaller than written.
        std::string small = "hello, railbox";
        for (char c : small)
            ASSERT_TRUE(client.sendAll(std::string(1, c)));
        EXPECT_EQ(client.receive(small.size(), 3), small);

        // Several MB written before reading anything back.
        std::string big = pattern(6 * 1024 * 1024);
        ASSERT_TRUE(client.sendAll(big));
        std::string back = client.receive(big.size());
        ASSERT_EQ(back.size(), big.size());
        EXPECT_TRUE(back == big);
        EXPECT_GT(writeCompletes.load(), 0);
    }
    for (int i = 0; i < 500 && downs == 0; ++i)
        ::usleep(10000);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 1);
}

TEST_P(TcpServerTest, ShutdownAfterQueuedOutputAndForceClose)
{
    // Larger than any kernel socket buffer, so most of it queues in the connection.
    std::string big = pattern(8 * 1024 * 1024);
    std::atomic<int> downs{0};
    std::atomic<size_t> highWater{0};
    ServerFixture fixture([&](TcpServer* server) {
        server->setConnectionCallback([&](const TcpConnectionPtr& conn) {
            if (!conn->connected())
            {
                ++downs;
                return;
            }
            conn->setContext(std::string("ctx"));
            conn->setTcpNoDelay(true);
            conn->setHighWaterMarkCallback([&](const TcpConnectionPtr&, size_t size) { highWater = size; },
                                           1024 * 1024);
            conn->send(big);
            conn->shutdown();  // half-close only after the queued bytes
        });
        server->setMessageCallback([](const TcpConnectionPtr& conn, Buffer* buf, Timestamp) {
            EXPECT_EQ(std::any_cast<std::string>(conn->getContext()), "ctx");
            if (buf->retrieveAllAsString() == "close")
                conn->forceClose();
        });
    });
    Client client(fixture.port);
    ASSERT_TRUE(client.connected());
    ::usleep(50000);  // let the kernel buffers fill so output really queues
    std::string got = client.receive(big.size(), 4096);
    ASSERT_EQ(got.size(), big.size());
    EXPECT_TRUE(got == big);
    EXPECT_TRUE(client.atEof());
    EXPECT_GT(highWater.load(), 1024u * 1024u);

    Client second(fixture.port);
    ASSERT_TRUE(second.connected());
    std::string firstBytes = second.receive(1000);
    ASSERT_TRUE(second.sendAll("close"));
    second.receive(big.size());  // drains until the server closes
    EXPECT_TRUE(second.atEof());
    for (int i = 0; i < 500 && downs < 1; ++i)
        ::usleep(10000);
    EXPECT_GE(downs, 1);
}

TEST(TcpServerBounds, RefusesConnectionsBeyondItsBoundAndClosesThoseIdleTooLong)
{
    std::atomic<int> ups{0}, downs{0};
    ServerFixture fixture([&](TcpServer* server) {
        server->setMaxConnections(3);
        server->setIdleTimeout(1.0);
        server->setConnectionCallback([&](const TcpConnectionPtr& conn) { ++(conn->connected() ? ups : downs); });
        server->setMessageCallback([](const TcpConnectionPtr& conn, Buffer* buf, Timestamp) { conn->send(buf); });
    });
    std::vector<std::unique_ptr<Client>> held;
    for (int i = 0; i < 3; ++i)
    {
        held.push_back(std::make_unique<Client>(fixture.port));
        ASSERT_TRUE(held.back()->sendAll("hi"));
        ASSERT_EQ("hi", held.back()->receive(2));
    }
    for (int i = 0; i < 2; ++i)
    {
        Client beyond(fixture.port);
        EXPECT_TRUE(beyond.atEof());  // accepted by the kernel, closed at once
    }
    EXPECT_EQ(3, ups.load());
    // The first keeps talking, the other two say nothing: they are closed.
    for (int i = 0; i < 15 && downs < 2; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_TRUE(held[0]->sendAll("ping"));
        ASSERT_EQ("ping", held[0]->receive(4)) << i;
    }
    EXPECT_EQ(2, downs.load());
    EXPECT_TRUE(held[1]->atEof());
    EXPECT_TRUE(held[2]->atEof());
    // Their places are free again.
    Client another(fixture.port);
    ASSERT_TRUE(another.sendAll("again"));
    EXPECT_EQ("again", another.receive(5));
    EXPECT_EQ(4, ups.load());
}

namespace
{
// A server whose requests are lines: each whole one is echoed and marks its
// connection in use; bytes without a line end do not.
ServerFixture lineServer(std::atomic<int>& downs, std::function<void(TcpServer*)> bounds)
{
    return ServerFixture([&downs, bounds](TcpServer* server) {
        server->setIdleClock(TcpServer::kIdleSinceMarked);
        bounds(server);
        server->setConnectionCallback([&downs](const TcpConnectionPtr& conn) { downs += !conn->connected(); });
        server->setMessageCallback([](const TcpConnectionPtr& conn, Buffer* buf, Timestamp) {
            for (const char* eol; (eol = buf->findEOL()) != nullptr; buf->retrieveUntil(eol + 1))
            {
                conn->markActive();
                conn->send(buf->peek(), static_cast<int>(eol + 1 - buf->peek()));
            }
        });
    });
}

bool answers(Client& client, const std::string& line)
{
    return client.sendAll(line) && client.receive(line.size()) == line;
}
}  // namespace

TEST(TcpServerBounds, MakesRoomByClosingTheConnectionIdleTheLongest)
{
    std::atomic<int> downs{0};
    ServerFixture fixture = lineServer(downs, [](TcpServer* server) {
        server->setMaxConnections(3);
        server->setRoomAfterIdle(0.3);
    });
    Client idle(fixture.port);
    ASSERT_TRUE(answers(idle, "once\n"));
    Client trickling(fixture.port), active(fixture.port);
    ASSERT_TRUE(answers(active, "a\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // every one past the grace
    ASSERT_TRUE(trickling.sendAll("t"));
    ASSERT_TRUE(answers(active, "a\n"));
    // Each newcomer takes the place of the one idle the longest: the one
    // silent since its request, then the one that never finished one.
    Client first(fixture.port);
    EXPECT_TRUE(answers(first, "1\n"));
    EXPECT_TRUE(idle.atEof());
    Client second(fixture.port);
    EXPECT_TRUE(answers(second, "2\n"));
    EXPECT_TRUE(trickling.atEof());
    EXPECT_TRUE(answers(active, "a\n"));
    EXPECT_EQ(2, downs.load());
}

TEST(TcpServerBounds, RefusesANewConnectionWhileEveryPlaceIsInUse)
{
    std::atomic<int> downs{0};
    ServerFixture fixture = lineServer(downs, [](TcpServer* server) {
        server->setMaxConnections(2);
        server->setRoomAfterIdle(600);
    });
    Client a(fixture.port), b(fixture.port);
    ASSERT_TRUE(answers(a, "a\n") && answers(b, "b\n"));
    Client beyond(fixture.port);
    EXPECT_TRUE(beyond.atEof());
    EXPECT_TRUE(answers(a, "a\n") && answers(b, "b\n"));
    EXPECT_EQ(0, downs.load());
}

TEST(TcpServerBounds, AnAddressHoldingTwoMorePlacesGivesOneUpAtOnce)
{
    std::atomic<int> downs{0};
    ServerFixture fixture = lineServer(downs, [](TcpServer* server) {
        server->setMaxConnections(3);
        server->setRoomAfterIdle(600);  // none is idle long enough to go for that
    });
    // 127.0.0.1 holds every place, each in use; the first the idlest.
    std::vector<std::unique_ptr<Client>> busy;
    for (int i = 0; i < 3; ++i)
        busy.push_back(std::make_unique<Client>(fixture.port));
    for (auto& client : busy)
        ASSERT_TRUE(answers(*client, "b\n"));
    Client same(fixture.port);
    EXPECT_TRUE(same.atEof());
    // 3 against 0: another address is served at once, in the idlest's place.
    Client other(fixture.port, "127.0.0.2");
    EXPECT_TRUE(answers(other, "o\n"));
    EXPECT_TRUE(busy[0]->atEof());
    // 2 against 1 is even enough; 2 against 0 is not.
    Client second(fixture.port, "127.0.0.2");
    EXPECT_TRUE(second.atEof());
    Client third(fixture.port, "127.0.0.3");
    EXPECT_TRUE(answers(third, "t\n"));
    EXPECT_TRUE(busy[1]->atEof());
    // One place each: none is taken.
    Client fourth(fixture.port, "127.0.0.4");
    EXPECT_TRUE(fourth.atEof());
    EXPECT_TRUE(answers(*busy[2], "b\n") && answers(other, "o\n") && answers(third, "t\n"));
    EXPECT_EQ(2, downs.load());
}

TEST(TcpServerBounds, IdleCountsFromTheLastWholeRequestNotTheLastByte)
{
    std::atomic<int> downs{0};
    ServerFixture fixture = lineServer(downs, [](TcpServer* server) { server->setIdleTimeout(2.0); });
    Client talking(fixture.port), trickling(fixture.port);
    for (int i = 0; i < 60 && downs < 1; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        trickling.sendAll("x");
        ASSERT_TRUE(answers(talking, "ping\n")) << i;
    }
    EXPECT_EQ(1, downs.load());
    EXPECT_TRUE(trickling.atEof());
    EXPECT_TRUE(answers(talking, "ping\n"));
}

INSTANTIATE_TEST_SUITE_P(Pollers, TcpServerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "poll" : "epoll"; });

TEST(InetAddressTest, FormatsAndResolves)
{
    InetAddress any(502);
    EXPECT_EQ(any.toIpPort(), "0.0.0.0:502");
    InetAddress loop(8888, true);
    EXPECT_EQ(loop.toIp(), "127.0.0.1");
    InetAddress addr("10.0.0.2", 502);
    EXPECT_EQ(addr.toIpPort(), "10.0.0.2:502");
    EXPECT_EQ(addr.port(), 502);
    EXPECT_EQ(addr.portNetEndian(), htons(502));
    EXPECT_EQ(addr.ipv4NetEndian(), inet_addr("10.0.0.2"));

    InetAddress resolved(123);
    ASSERT_TRUE(InetAddress::resolve("localhost", &resolved));
    EXPECT_EQ(resolved.toIpPort(), "127.0.0.1:123");
    EXPECT_FALSE(InetAddress::resolve("no-such-host.invalid", &resolved));
}
