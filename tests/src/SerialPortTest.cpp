#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "SerialPort.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/LoopUntil.h"

namespace
{
// A pseudo-terminal linked at a board path, standing in for a serial line.
struct LinkedPty
{
    int master = -1;
    std::string link;
    explicit LinkedPty(const std::string& unitPath) : link(board::path(unitPath))
    {
        ::mkdir(board::path("/dev").c_str(), 0755);
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
        {
            ::unlink(link.c_str());
            if (::symlink(::ptsname(master), link.c_str()) != 0)
                master = -1;
        }
    }
    ~LinkedPty()
    {
        ::unlink(link.c_str());
        if (master >= 0)
            ::close(master);
    }
};

speed_t speedOf(const SerialPort& port)
{
    struct termios tio;
    if (::tcgetattr(port.fileHandler()->fd(), &tio) != 0)
        return 0;
    return ::cfgetospeed(&tio);
}
}

TEST(SerialPortTest, ConfiguresARawLineAtTheChosenSpeed)
{
    muduo::net::EventLoop loop;
    LinkedPty pty("/dev/ttyS10");
    ASSERT_GE(pty.master, 0);
    SerialPort port(&loop, "/dev/ttyS10");
    // A pty has no UART driver settings: that part is skipped, the rest applies.
    port.configUart(19200);
    EXPECT_EQ(static_cast<speed_t>(B19200), speedOf(port));
    struct termios tio;
    ASSERT_EQ(0, ::tcgetattr(port.fileHandler()->fd(), &tio));
    EXPECT_EQ(static_cast<tcflag_t>(CS8), tio.c_cflag & CSIZE);
    EXPECT_EQ(0u, tio.c_cflag & (PARENB | CSTOPB));
    EXPECT_EQ(0u, tio.c_lflag & ICANON);
    EXPECT_EQ(1, tio.c_cc[VMIN]);
    port.configUart(38400);
    EXPECT_EQ(static_cast<speed_t>(B38400), speedOf(port));
    port.configUart(12345);
    EXPECT_EQ(static_cast<speed_t>(B9600), speedOf(port));
}

TEST(SerialPortTest, BytesWaitUntilReadingStarts)
{
    muduo::net::EventLoop loop;
    LinkedPty pty("/dev/ttyS3");
    ASSERT_GE(pty.master, 0);
    SerialPort port(&loop, "/dev/ttyS3");
    port.configUart(38400);
    std::string got;
    port.setDataCallback([&](muduo::net::Buffer* b, muduo::Timestamp) { got += b->retrieveAllAsString(); });
    ASSERT_EQ(3, ::write(pty.master, "abc", 3));
    test::loopUntil(loop, [] { return false; }, 0.1);
    EXPECT_EQ("", got);
    port.fileHandler()->startRead();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return got == "abc"; }, 5.0));
    port.fileHandler()->write("out");
    char buf[8] = {};
    ASSERT_TRUE(test::loopUntil(loop, [&] { return ::read(pty.master, buf, sizeof buf) == 3; }, 5.0));
    EXPECT_EQ("out", std::string(buf, 3));
}

TEST(SerialPortTest, FifoStandInSurvivesConfiguration)
{
    muduo::net::EventLoop loop;
    ::mkdir(board::path("/dev").c_str(), 0755);
    std::string fifo = board::path("/dev/ttyFIFO");
    ::unlink(fifo.c_str());
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    SerialPort port(&loop, "/dev/ttyFIFO");
    port.configUart(19200);  // termios refused: logged, the line stays usable
    std::string got;
    port.setDataCallback([&](muduo::net::Buffer* b, muduo::Timestamp) { got += b->retrieveAllAsString(); });
    port.fileHandler()->startRead();
    port.fileHandler()->write("loop");
    ASSERT_TRUE(test::loopUntil(loop, [&] { return got == "loop"; }, 5.0));
    ::unlink(fifo.c_str());
}
