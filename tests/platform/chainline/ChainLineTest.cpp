// The shared cascade line program, with each end opened as a unit opens it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>

#include "support/ChainLineProcess.h"
#include "support/TempBoard.h"

namespace
{
struct ThreeUnits
{
    explicit ThreeUnits(const std::vector<std::string>& options = {}) : line(roots, options) {}

    std::vector<std::string> roots{test::makeTempDir("rb-chain"), test::makeTempDir("rb-chain"),
                                   test::makeTempDir("rb-chain")};
    test::ChainLineProcess line;
    std::vector<int> fds{open(0), open(1), open(2)};
    std::vector<std::string> got{3};

    ~ThreeUnits()
    {
        for (int fd : fds)
            ::close(fd);
        for (const std::string& root : roots)
            test::removeTree(root);
    }
    int open(int i) { return ::open((roots[i] + "/dev/ttyS3").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK); }
    void write(int i, const std::string& bytes)
    {
        EXPECT_EQ(::write(fds[i], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads every end into got until done() holds (3 s at most); the seconds it took.
    double collect(const std::function<bool()>& done)
    {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
        while (!done() && seconds() < 3)
        {
            pollfd p[3] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}, {fds[2], POLLIN, 0}};
            ::poll(p, 3, 20);
            char chunk[4096];
            for (size_t i = 0; i < 3; ++i)
                for (ssize_t n; (p[i].revents & POLLIN) && (n = ::read(fds[i], chunk, sizeof chunk)) > 0;)
                    got[i].append(chunk, static_cast<size_t>(n));
        }
        return seconds();
    }
};

TEST(ChainLineTest, CarriesBytesToTheOtherEndsAtTheLinesRateAndSurvivesAReopen)
{
    ThreeUnits units;
    ASSERT_TRUE(units.line.waitForLog("end 2 opened", 5));
    std::string block;
    for (int i = 0; i < 3840; ++i)
        block.push_back(static_cast<char>(i));
    units.write(0, block);
    EXPECT_LT(units.collect([&] { return !units.got[1].empty(); }), 0.5);  // byte by byte, not at the end
    const double all = units.collect([&] { return units.got[1].size() + units.got[2].size() == 2 * block.size(); });
    EXPECT_GT(all, 0.9);  // 3,840 bytes at 38400 baud 8N1: one second on the wire
    EXPECT_LT(all, 1.3);
    EXPECT_EQ(units.got[1], block);
    EXPECT_EQ(units.got[2], block);
    EXPECT_EQ(units.got[0], "");  // never back to the writer
    EXPECT_NE(units.line.log().find(" end 0 > 00 01 02 03"), std::string::npos) << units.line.log();

    units.got.assign(3, "");
    units.write(0, "AAAA");
    units.write(1, "BBBB");
    units.collect([&] { return units.got[0].size() == 4 && units.got[1].size() == 4 && units.got[2].size() == 8; });
    EXPECT_TRUE(units.got[2] == "AAAABBBB" || units.got[2] == "BBBBAAAA") << units.got[2];  // in arrival order
    EXPECT_EQ(units.got[0], "BBBB");
    EXPECT_EQ(units.got[1], "AAAA");

    ::close(units.fds[1]);
    ASSERT_TRUE(units.line.waitForLog("end 1 closed", 2));
    units.write(0, "lost");  // no unit on end 1 to hear it
    units.collect([&] { return units.got[2].size() == 12; });
    EXPECT_EQ(units.got[2].substr(8), "lost");
    units.fds[1] = units.open(1);
    ASSERT_TRUE(units.line.waitForLog("end 1 opened", 2, 2));
    units.got.assign(3, "");
    units.write(0, "heard");
    units.write(1, "back");
    units.collect([&] { return units.got[0].size() == 4 && units.got[1].size() == 5 && units.got[2].size() == 9; });
    EXPECT_EQ(units.got[1], "heard");
    EXPECT_EQ(units.got[0], "back");
}

off_t fileSize(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

// A chain left running keeps at most two files of the log's size: the
// current one and the one before.
TEST(ChainLineTest, LogIsRotatedAtItsSizeKeepingOneOlderFile)
{
    const off_t limit = 4096;
    ThreeUnits units({"--log-size", std::to_string(limit), "--baud", "460800"});
    ASSERT_TRUE(units.line.waitForLog("end 2 opened", 5));
    const std::string& log = units.line.logFile();
    std::string block(100, '\0');
    size_t sent = 0;
    for (int k = 0; k < 60; ++k)  // about six times the size, 100 bytes an event
    {
        block.assign(100, static_cast<char>(k));
        units.write(0, block);
        sent += block.size();
        // The line hands the bytes to end 1, then to end 2, each through its
        // pty on the kernel's own time: both are awaited.
        units.collect([&] { return units.got[1].size() == sent && units.got[2].size() == sent; });
        ASSERT_EQ(sent, units.got[1].size());
        ASSERT_EQ(sent, units.got[2].size());
        // An event is logged whole: a file ends at most one event beyond the size.
        EXPECT_LE(fileSize(log), limit + 1024);
        EXPECT_LE(fileSize(log + ".1"), limit + 1024);
    }
    EXPECT_GE(fileSize(log + ".1"), limit);
    EXPECT_EQ(-1, fileSize(log + ".2"));
    // Where the files part depends on the lengths of the paths noted at the
    // start and on how the line's reads split the writes (each piece gets
    // lines of its own): the last event may just have moved to the older file.
    std::stringstream kept;
    kept << std::ifstream(log + ".1").rdbuf() << units.line.log();
    EXPECT_NE(kept.str().find(" end 0 > 3b 3b 3b"), std::string::npos);  // the last event (59)
    EXPECT_EQ(kept.str().find(" end 0 > 00 00 00"), std::string::npos);  // the first is gone
}
}
