// The beeper's driver requests, read back from a plain stand-in /dev/beeper
// that collects them as in-band records.
#include "BeeperModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"
#include "support/DeviceRecords.h"

namespace
{
void logToStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }

// The (count, on, off) of every request so far.
std::vector<std::vector<int32_t>> requests()
{
    test::DeviceRecordStream s = test::readDeviceRecords(BeeperModule::kDevName);
    EXPECT_EQ(0u, s.leftover);
    std::vector<std::vector<int32_t>> out;
    for (const test::DeviceRecord& r : s.records)
    {
        EXPECT_TRUE(r.isIoctl(BeeperModule::kBeepRequest)) << r.kind << " " << r.request;
        EXPECT_EQ(12u, r.arg.size());
        out.push_back(r.ints());
    }
    return out;
}
}

TEST(BeeperModuleTest, EachCallIsOneRequestWithCountOnAndOff)
{
    test::makeRecordingDevice(BeeperModule::kDevName);
    BeeperModule beeper;
    EXPECT_TRUE(requests().empty());

    EXPECT_TRUE(beeper.beepCount(3, 50, 50));
    EXPECT_TRUE(beeper.beep(2, 50, 50));
    EXPECT_TRUE(beeper.beepForever(200, 200));
    EXPECT_TRUE(beeper.beepForever(50, 50));
    EXPECT_TRUE(beeper.stop());
    EXPECT_TRUE(beeper.stop());  // also when nothing beeps
    std::vector<std::vector<int32_t>> expected{{3, 50, 50}, {2, 50, 50}, {-1, 200, 200},
                                               {-1, 50, 50}, {0, 0, 0},   {0, 0, 0}};
    EXPECT_EQ(expected, requests());
}

TEST(BeeperModuleDeathTest, MissingDeviceIsFatal)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::filesystem::remove(board::path(BeeperModule::kDevName));
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(logToStderr);
            BeeperModule beeper;
        },
        "Failed in open .*/dev/beeper: No such file");
}

TEST(BeeperModuleTest, RecordReaderReportsCutAndForeignBytes)
{
    // The reader other tests use on stand-in files.
    std::string ioctl("I\x40\x0C\x62\x01\x00\x00\x00\x0C", 9);
    ioctl += std::string("\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00", 12);
    std::string write("W\x00\x00\x00\x01\x00\x00\x00\x00\xAA", 10);
    test::DeviceRecordStream s = test::parseDeviceRecords(ioctl + write);
    ASSERT_EQ(2u, s.records.size());
    EXPECT_EQ(0u, s.leftover);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), s.records[0].ints());
    EXPECT_EQ('W', s.records[1].kind);
    EXPECT_EQ(std::string("\xAA", 1), s.records[1].arg);

    for (size_t cut = 1; cut < ioctl.size(); ++cut)
    {
        s = test::parseDeviceRecords(write + ioctl.substr(0, cut));
        EXPECT_EQ(1u, s.records.size());
        EXPECT_EQ(cut, s.leftover);
    }
    s = test::parseDeviceRecords(ioctl + "garbage");
    EXPECT_EQ(1u, s.records.size());
    EXPECT_EQ(7u, s.leftover);
}
