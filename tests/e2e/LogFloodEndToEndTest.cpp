// A client in a loop on each interface of a slave daemon, and a master that
// writes bad frames on its cascade line: the log, on the unit's flash, gets
// a bounded number of lines a second whatever they send.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

#include "e2e/E2eBoard.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/net/InetAddress.h"
#include "support/ChainLineProcess.h"
#include "support/TestFrames.h"

namespace
{
class LogFlood : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ChainLineProcess::setRole(board.root(), 3);
        line = std::make_unique<test::ChainLineProcess>(std::vector<std::string>{board.root(), masterRoot});
        masterEnd = ::open((masterRoot + "/dev/ttyS3").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(masterEnd, 0);
        ASSERT_TRUE(board.start());
        ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888", "udp 127.0.0.1:8889", "udp 0.0.0.0:8891",
                                         "udp 0.0.0.0:6666", "tcp 0.0.0.0:8890"},
                                        10))
            << board.output();
        ASSERT_TRUE(line->waitForLog("end 0 opened", 10)) << line->log();
    }
    void TearDown() override
    {
        for (int fd : {masterEnd, client})
            if (fd >= 0)
                ::close(fd);
        line.reset();
        test::removeTree(masterRoot);
    }
    int connected(int type, uint16_t port)
    {
        client = board.socketInNamespace(type);
        muduo::net::InetAddress to("127.0.0.1", port);
        return ::connect(client, to.getSockAddr(), sizeof(sockaddr_in)) == 0 ? client : -1;
    }
    long logLines() const
    {
        const std::string log = board.output();
        return std::count(log.begin(), log.end(), '\n');
    }

    e2e::E2eBoard board;
    const std::string masterRoot = test::makeTempDir("rb-flood-master");
    std::unique_ptr<test::ChainLineProcess> line;
    int masterEnd = -1;
    int client = -1;
};
}

TEST_F(LogFlood, MalformedRequestsOnEveryInterfaceWriteABoundedNumberOfLines)
{
    const std::string badChecksum = test::mgrCtrlFrame(1, std::string("\x2F\x00\x07", 3), 0);
    const test::Bytes badCrc = [] {
        test::Bytes frame = test::cascadeFrame(3, 7, {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        frame[4] ^= 0x5A;  // the CRC byte
        return frame;
    }();
    // interface, a socket for it (or the cascade line), one malformed message
    const struct
    {
        const char* name;
        std::function<int()> open;
        std::string message;
    } floods[] = {
        {"web", [&] { return connected(SOCK_DGRAM, 8888); }, "{\"request\":"},
        {"scan", [&] { return connected(SOCK_DGRAM, 8891); }, badChecksum},
        {"manage-control", [&] { return connected(SOCK_STREAM, 8890); }, badChecksum},
        {"config", [&] { return connected(SOCK_DGRAM, 6666); }, std::string("\xA4\x00\x09\x10", 4)},
        {"SNMP bridge", [&] { return connected(SOCK_DGRAM, 8889); }, "[[[[1]]]]"},
        {"cascade line", [&] { return masterEnd; }, std::string(badCrc.begin(), badCrc.end())},
    };
    for (const auto& flood : floods)
    {
        const int fd = flood.open();
        ASSERT_GE(fd, 0) << flood.name;
        const long before = logLines();
        const auto begin = e2e::Clock::now();
        long sent = 0;
        for (auto end = begin + std::chrono::milliseconds(1500); e2e::Clock::now() < end;)
        {
            if (fd != masterEnd)
            {
                sent += ::send(fd, flood.message.data(), flood.message.size(), MSG_DONTWAIT) > 0;
                continue;
            }
            // The cascade line carries 3,840 bytes a second: no faster.
            sent += ::write(fd, flood.message.data(), flood.message.size()) > 0;
            std::this_thread::sleep_for(std::chrono::microseconds(flood.message.size() * 1000000 / 3840));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // what is still on its way
        const double seconds = std::chrono::duration<double>(e2e::Clock::now() - begin).count();
        const long bound = muduo::LogLimiter::kPeerLinesPerSecond * (std::lround(std::ceil(seconds)) + 1) + 4;
        const long lines = logLines() - before;
        EXPECT_LE(lines, bound) << flood.name << ": " << sent << " sent in " << seconds << " s";
        std::printf("%s: %ld log lines for %ld malformed messages\n", flood.name, lines, sent);
        EXPECT_GT(sent, 200) << flood.name;
        if (fd == client)
        {
            ::close(client);
            client = -1;
        }
    }
    EXPECT_TRUE(board.running());
    const std::string log = board.output();
    for (const char* line : {"json parse error", "check sum wrong", "crc wrong", "similar lines suppressed"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

namespace
{
// The lines written for one message and the held-back lines their notes
// tell of.
struct Tally
{
    long written = 0;
    long notes = 0;  // lines with a note
    long noted = 0;
};

Tally tally(const std::string& log, const std::string& message)
{
    Tally t;
    const std::string note = " similar lines suppressed)";
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
    {
        if (line.find(message) == std::string::npos)
            continue;
        ++t.written;
        const size_t end = line.find(note);
        const size_t open = end == std::string::npos ? end : line.rfind('(', end);
        if (open == std::string::npos)
            continue;
        ++t.notes;
        t.noted += std::stol(line.substr(open + 1, end - open - 1));
    }
    return t;
}
}

TEST(LogFloodNotes, EachLineTellsOnlyTheLinesHeldBackSinceTheOneBeforeIt)
{
    e2e::E2eBoard board;
    ASSERT_TRUE(board.start());
    ASSERT_TRUE(board.waitListening({"udp 127.0.0.1:8888"}, 10)) << board.output();
    const int fd = board.connectInNamespace(SOCK_DGRAM, 8888, 10);
    ASSERT_GE(fd, 0);
    // Each malformed request goes with one the unit answers: the answer shows
    // the malformed one before it was read, so every line provoked is counted.
    const std::string malformed = "{\"request\":", answered = "{\"request\":1}";
    long provoked = 0;
    auto provoke = [&] {
        char reply[1024];
        const bool read = ::send(fd, malformed.data(), malformed.size(), 0) > 0
                          && ::send(fd, answered.data(), answered.size(), 0) > 0 && ::recv(fd, reply, sizeof reply, 0) > 0;
        provoked += read;
        return read;
    };
    for (auto end = e2e::Clock::now() + std::chrono::seconds(4); e2e::Clock::now() < end;)
        ASSERT_TRUE(provoke()) << provoked;

    // A line a while after the flood: the first to pass tells what was held
    // back last, and then the notes and the lines account for every one.
    Tally t;
    EXPECT_TRUE(e2e::waitUntil(
        [&] {
            t = tally(board.output(), "json parse error");
            return t.written + t.noted == provoked || !provoke();
        },
        30, 1200))
        << t.written << " written, " << t.noted << " noted, " << provoked << " provoked";
    ::close(fd);
    EXPECT_EQ(provoked, t.written + t.noted);
    // Lines were held back in several intervals of the flood.
    EXPECT_GE(t.notes, 3);
    std::printf("%ld lines provoked: %ld written, %ld told of in the notes\n", provoked, t.written, t.noted);
}
