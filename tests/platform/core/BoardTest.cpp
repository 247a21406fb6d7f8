#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "platform/core/BoardClock.h"
#include "platform/core/BoardDevice.h"
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

TEST(Board, StandInDevicesKeepEveryRequestAcrossOpens)
{
    std::string dev = board::path("/beeper-standin");
    for (int run = 0; run < 2; ++run)  // the daemon reopens it after a restart
    {
        int fd = ::open(dev.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        int arg = 7 + run;
        ASSERT_EQ(board::deviceIoctl(fd, 0x40046C01, &arg), 0);
        ::close(fd);
    }
    std::ifstream in(dev, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 2 * (board::kRecordHeader + 4));
    EXPECT_EQ(bytes[0], 'I');
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0x40);  // request, big-endian
    EXPECT_EQ(bytes[9], 7);  // the int argument as the daemon holds it in memory
    EXPECT_EQ(bytes[board::kRecordHeader + 4 + 9], 8);
}
