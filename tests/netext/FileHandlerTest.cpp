#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "netext/FileHandler.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/TempBoard.h"

using muduo::net::Buffer;
using muduo::net::EventLoop;
using muduo::net::FileHandler;
using muduo::net::FileHandlerPtr;

namespace
{
struct Pipe
{
    int r = -1;
    int w = -1;
    Pipe()
    {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0)
        {
            r = fds[0];
            w = fds[1];
        }
    }
    ~Pipe()
    {
        ::close(r);
        ::close(w);
    }
};

std::string drain(int fd)
{
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, static_cast<size_t>(n));
    return out;
}

struct PtyPair
{
    int master = -1;
    std::string slave;
    bool open()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return false;
        slave = ::ptsname(master);
        // Raw line: bytes pass without waiting for an end of line.
        struct termios tio;
        if (::tcgetattr(master, &tio) != 0)
            return false;
        ::cfmakeraw(&tio);
        return ::tcsetattr(master, TCSANOW, &tio) == 0;
    }
    void close()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    ~PtyPair() { close(); }
};

// Collects what a handler reads; consumes everything.
struct Reader
{
    std::string got;
    int calls = 0;
    void attach(const FileHandlerPtr& h)
    {
        h->setMessageCallback([this](const FileHandlerPtr&, Buffer* b, muduo::Timestamp) {
            ++calls;
            got += b->retrieveAllAsString();
        });
    }
};
}

TEST(FileHandlerTest, PartialWriteFinishesInOrderAndCompletesOnce)
{
    EventLoop loop;
    Pipe pipe;
    ASSERT_GE(::fcntl(pipe.w, F_SETPIPE_SZ, 4096), 4096);
    auto h = std::make_shared<FileHandler>(&loop, pipe.w);
    std::string received;
    int completes = 0;
    size_t receivedAtComplete = 0;
    h->setWriteCompleteCallback([&](const FileHandlerPtr&) {
        ++completes;
        received += drain(pipe.r);
        receivedAtComplete = received.size();
    });
    std::string a(70000, 'a'), b(3000, 'b'), c(5, 'c');
    h->write(a.data(), static_cast<int>(a.size()));
    h->write(b);
    h->write(c);
    auto drainer = loop.runEvery(0.002, [&] { received += drain(pipe.r); });
    ASSERT_TRUE(test::loopUntil(loop, [&] { return completes > 0; }, 10.0));
    test::loopUntil(loop, [] { return false; }, 0.1);
    loop.cancel(drainer);
    EXPECT_EQ(1, completes);
    EXPECT_EQ(a + b + c, received);
    EXPECT_EQ(a.size() + b.size() + c.size(), receivedAtComplete);
}

// A device momentarily full keeps what it was given: the bytes wait, in order,
// and are written once it takes them, without an error line.
TEST(FileHandlerTest, WriteThatFailsWithEagainOnAnIdleHandlerIsKeptAndWrittenLater)
{
    EventLoop loop;
    Pipe pipe;
    std::string fill(4096, 'f');
    while (::write(pipe.w, fill.data(), fill.size()) > 0)
    {
    }
    auto h = std::make_shared<FileHandler>(&loop, pipe.w);
    int completes = 0;
    h->setWriteCompleteCallback([&](const FileHandlerPtr&) { ++completes; });
    test::LogCapture log;
    h->write("one ");
    h->write("two");
    EXPECT_EQ(7u, h->outputBytes());
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ(0, completes);
    std::string seen = drain(pipe.r);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return (seen += drain(pipe.r), completes == 1); }, 5.0));
    seen += drain(pipe.r);
    EXPECT_EQ("one two", seen.erase(0, seen.find_first_not_of('f')));
    EXPECT_FALSE(log.contains("FileHandler::"));
}

TEST(FileHandlerTest, UnconsumedBytesAreSeenWithTheNextRead)
{
    EventLoop loop;
    Pipe pipe;
    auto h = std::make_shared<FileHandler>(&loop, pipe.r);
    std::string seen;
    h->setMessageCallback([&](const FileHandlerPtr&, Buffer* b, muduo::Timestamp) {
        seen = std::string(b->peek(), b->readableBytes());
    });
    ASSERT_EQ(2, ::write(pipe.w, "ab", 2));
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ("", seen);  // not reading yet
    h->startRead();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return seen == "ab"; }, 5.0));
    ASSERT_EQ(2, ::write(pipe.w, "cd", 2));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return seen == "abcd"; }, 5.0));
    h->stopRead();
    ASSERT_EQ(1, ::write(pipe.w, "e", 1));
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ("abcd", seen);
}

TEST(FileHandlerTest, WritesFromAnotherThreadArrive)
{
    EventLoop loop;
    Pipe pipe;
    auto h = std::make_shared<FileHandler>(&loop, pipe.w);
    std::thread t([h] { h->write("from afar"); });
    t.join();
    std::string got;
    ASSERT_TRUE(test::loopUntil(loop, [&] { got += drain(pipe.r); return got == "from afar"; }, 5.0));
}

TEST(FileHandlerTest, FifoHangUpNeitherSpinsNorLosesTheDevice)
{
    EventLoop loop;
    std::string dir = test::makeTempDir("fh-fifo");
    std::string path = dir + "/key";
    ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
    test::LogCapture log;
    auto h = std::make_shared<FileHandler>(&loop, path.c_str(), O_NONBLOCK);
    Reader reader;
    reader.attach(h);
    h->startRead();
    int w = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(w, 0);
    ASSERT_EQ(2, ::write(w, "hi", 2));
    ::close(w);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return reader.got == "hi"; }, 5.0));
    int64_t before = loop.iteration();
    test::loopUntil(loop, [] { return false; }, 0.3);
    // A spinning loop would turn thousands of times; the wait checks every few ms.
    EXPECT_LT(loop.iteration() - before, 400);
    EXPECT_EQ(1, log.count("hang-up on " + path));
    // After the reopen a new writer is heard again.
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !h->hungUp(); }, 5.0));
    w = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(w, 0);
    ASSERT_EQ(5, ::write(w, "again", 5));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return reader.got == "hiagain"; }, 5.0));
    ::close(w);
    h.reset();
    test::removeTree(dir);
}

TEST(FileHandlerTest, PtyWhoseMasterClosesIsReopenedWhenTheLinkReturns)
{
    EventLoop loop;
    std::string dir = test::makeTempDir("fh-pty");
    std::string link = dir + "/ttyS10";
    PtyPair first;
    ASSERT_TRUE(first.open());
    ASSERT_EQ(0, ::symlink(first.slave.c_str(), link.c_str()));
    test::LogCapture log;
    auto h = std::make_shared<FileHandler>(&loop, link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    Reader reader;
    reader.attach(h);
    h->startRead();
    ASSERT_EQ(1, ::write(first.master, "x", 1));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return reader.got == "x"; }, 5.0));

    first.close();
    ::unlink(link.c_str());
    ASSERT_TRUE(test::loopUntil(loop, [&] { return h->hungUp(); }, 5.0));
    int64_t before = loop.iteration();
    test::loopUntil(loop, [] { return false; }, 1.5);  // reopen attempts fail meanwhile
    EXPECT_LT(loop.iteration() - before, 1500);
    EXPECT_EQ(1, log.count("hang-up on " + link));
    h->write("dropped");

    PtyPair second;
    ASSERT_TRUE(second.open());
    ASSERT_EQ(0, ::symlink(second.slave.c_str(), link.c_str()));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !h->hungUp(); }, 5.0));
    ASSERT_EQ(1, ::write(second.master, "y", 1));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return reader.got == "xy"; }, 5.0));
    h->write("z");
    std::string back;
    ASSERT_TRUE(test::loopUntil(loop, [&] { back += drain(second.master); return back == "z"; }, 5.0));
    h.reset();
    test::removeTree(dir);
}

TEST(FileHandlerTest, PlainFileIsReadOnceAndWrittenDirectly)
{
    EventLoop loop;
    std::string dir = test::makeTempDir("fh-plain");
    std::string path = dir + "/temp_hum";
    FILE* f = ::fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, f);
    ::fputs("record", f);
    ::fclose(f);
    auto h = std::make_shared<FileHandler>(&loop, path.c_str(), O_RDWR);
    Reader reader;
    reader.attach(h);
    h->startRead();
    EXPECT_EQ(0, reader.calls);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return reader.calls > 0; }, 5.0));
    test::loopUntil(loop, [] { return false; }, 0.1);
    EXPECT_EQ(1, reader.calls);
    EXPECT_EQ("record", reader.got);
    int completes = 0;
    h->setWriteCompleteCallback([&](const FileHandlerPtr&) { ++completes; });
    h->write("+more");
    ASSERT_TRUE(test::loopUntil(loop, [&] { return completes == 1; }, 5.0));
    h.reset();
    f = ::fopen(path.c_str(), "r");
    char buf[32] = {};
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(11u, ::fread(buf, 1, sizeof buf, f));
    ::fclose(f);
    EXPECT_EQ(std::string("record+more"), buf);
    test::removeTree(dir);
}

namespace
{
void logToStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }
}

TEST(FileHandlerDeathTest, MissingDeviceEndsTheProcess)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(logToStderr);
            EventLoop loop;
            FileHandler h(&loop, "/nonexistent/dev/key", O_NONBLOCK);
        },
        "Failed in open /nonexistent/dev/key");
}
