#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

TEST(Board, PathsOfTheUnitLiveBelowTheRoot)
{
    ASSERT_TRUE(board::simulated());  // every test program runs on a board root
    EXPECT_EQ(board::path("/dev/ttyS10"), board::root() + "/dev/ttyS10");
    EXPECT_EQ(board::path("relative/file"), "relative/file");
    EXPECT_EQ(board::path(""), "");
}

TEST(Board, CommandsRunOnlyFromTheBoardsOwnBin)
{
    // A command with no stand-in on the board must fail, never reach the host.
    int status = board::runCommand("hwclock -w");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 127);

    std::string bin = board::path("/bin");
    ::mkdir(bin.c_str(), 0755);
    std::string marker = board::path("/hwclock.called");
    {
        std::ofstream script(bin + "/hwclock");
        script << "#!/bin/sh\necho \"$@\" > '" << marker << "'\n";
    }
    ::chmod((bin + "/hwclock").c_str(), 0755);
    status = board::runCommand("hwclock -w");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::ifstream in(marker);
    std::string args;
    std::getline(in, args);
    EXPECT_EQ(args, "-w");
    ::unlink((bin + "/hwclock").c_str());
}

TEST(Board, SettingTheClockShiftsOnlyTheBoardAndPersists)
{
    const int64_t hour = 3600LL * 1000000;
    int notified = 0;
    int id = board::addClockListener([&] { ++notified; });
    int64_t before = board::wallClockMicros();
    ASSERT_TRUE(board::setWallClock(before + hour));
    EXPECT_EQ(notified, 1);
    EXPECT_NEAR(static_cast<double>(board::wallClockOffsetMicros()), static_cast<double>(hour), 1e6);
    std::ifstream saved(board::path("/var/lib/railbox/clock_offset"));
    long long offset = 0;
    ASSERT_TRUE(saved >> offset);
    EXPECT_EQ(offset, board::wallClockOffsetMicros());
    board::removeClockListener(id);
    ASSERT_TRUE(board::setWallClock(board::wallClockMicros() - board::wallClockOffsetMicros()));
    EXPECT_EQ(notified, 1);
    EXPECT_LT(std::llabs(board::wallClockOffsetMicros()), 1000000LL);
}
