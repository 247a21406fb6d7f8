// Watchdog choice and feeding, on stand-in files below the test's board
// root: /dev/watchdog collects its requests as in-band records (see
// BoardDevice.h); /dev/soft_wdt takes plain writes, so its stand-in simply
// fills with one 0xAA per feed.
#include "WatchdogModule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "HardwareWatchdog.h"
#include "PduTimer.h"
#include "SoftwareWatchdog.h"
#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/DeviceRecords.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"

using muduo::Timestamp;

namespace
{
std::string softBytes()
{
    std::ifstream in(board::path(SoftwareWatchdog::kDevName), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t keepAlives()
{
    size_t n = 0;
    for (const test::DeviceRecord& r : test::readDeviceRecords(HardwareWatchdog::kDevName).records)
        n += r.isIoctl(HardwareWatchdog::kKeepAliveRequest);
    return n;
}

class WatchdogModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Never the host's watchdog: everything stays below the board root.
        ASSERT_TRUE(board::simulated());
        std::filesystem::remove(board::path(HardwareWatchdog::kDevName));
        std::filesystem::remove(board::path(SoftwareWatchdog::kDevName));
    }
    void TearDown() override { SetUp(); }

    muduo::net::EventLoop loop;
};
}

TEST_F(WatchdogModuleTest, HardwareGetsNineSecondsThenAKeepAliveEverySecond)
{
    test::makeRecordingDevice(HardwareWatchdog::kDevName);
    test::makeRecordingDevice(SoftwareWatchdog::kDevName);
    WatchdogModule module(&loop);
    test::DeviceRecordStream s = test::readDeviceRecords(HardwareWatchdog::kDevName);
    ASSERT_EQ(1u, s.records.size());
    EXPECT_TRUE(s.records[0].isIoctl(HardwareWatchdog::kSetTimeoutRequest));
    EXPECT_EQ((std::vector<int32_t>{9}), s.records[0].ints());

    Timestamp start = Timestamp::now(true);
    module.start();
    double first = 0;
    ASSERT_TRUE(test::loopUntil(loop, [&] { return keepAlives() >= 1; }, 10.0));
    first = timeDifference(Timestamp::now(true), start);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return keepAlives() >= 3; }, 10.0));
    double third = timeDifference(Timestamp::now(true), start);
    EXPECT_GE(first, 0.95);
    EXPECT_GE(third, 2.9);
    EXPECT_LT(third, 9.0);  // well inside the hardware's window

    s = test::readDeviceRecords(HardwareWatchdog::kDevName);
    EXPECT_EQ(0u, s.leftover);
    for (size_t i = 1; i < s.records.size(); ++i)
        EXPECT_EQ((std::vector<int32_t>{0}), s.records[i].ints());
    EXPECT_TRUE(softBytes().empty());  // the software dog is not touched
}

TEST_F(WatchdogModuleTest, MissingHardwareFallsBackToSoftware)
{
    test::makeRecordingDevice(SoftwareWatchdog::kDevName);
    test::LogCapture log;
    WatchdogModule module(&loop);
    EXPECT_EQ(1, log.count("ERROR Failed in open " + board::path(HardwareWatchdog::kDevName))) << log.text();
    EXPECT_TRUE(log.contains("open " + board::path(SoftwareWatchdog::kDevName) + " ok"));
    EXPECT_FALSE(std::filesystem::exists(board::path(HardwareWatchdog::kDevName)));

    module.start();
    module.start();  // a second start does not double the feeding
    ASSERT_TRUE(test::loopUntil(loop, [] { return softBytes().size() >= 1; }, 10.0));
    test::loopUntil(loop, [] { return false; }, 0.5);
    EXPECT_EQ(std::string("\xAA", 1), softBytes());
    EXPECT_EQ(1, log.count("feed dog"));
}

TEST_F(WatchdogModuleTest, WithoutEitherDeviceTheDaemonRunsUnguarded)
{
    test::LogCapture log;
    {
        WatchdogModule module(&loop);
        EXPECT_EQ(2, log.count("ERROR Failed in open ")) << log.text();
        module.start();
        test::loopUntil(loop, [] { return false; }, 1.3);
    }
    EXPECT_EQ(0, log.count("feed dog"));
    EXPECT_FALSE(std::filesystem::exists(board::path(HardwareWatchdog::kDevName)));
    EXPECT_FALSE(std::filesystem::exists(board::path(SoftwareWatchdog::kDevName)));
}

TEST_F(WatchdogModuleTest, DestroyedModuleFeedsNoMore)
{
    test::makeRecordingDevice(SoftwareWatchdog::kDevName);
    test::LogCapture log;
    {
        WatchdogModule module(&loop);
        module.onTimer(std::shared_ptr<PduTimer>());
        module.start();
    }
    EXPECT_TRUE(log.contains("~SoftwareWatchdog"));
    test::loopUntil(loop, [] { return false; }, 1.3);
    EXPECT_EQ(std::string("\xAA", 1), softBytes());
}

TEST_F(WatchdogModuleTest, FeedLogsOnlyAtInfoOrBelow)
{
    test::makeRecordingDevice(HardwareWatchdog::kDevName);
    test::LogCapture log;
    muduo::Logger::LogLevel saved = muduo::Logger::logLevel();
    {
        HardwareWatchdog dog;
        ASSERT_TRUE(dog.open());
        muduo::Logger::setLogLevel(muduo::Logger::WARN);
        dog.feed();
        EXPECT_EQ(0, log.count("feed dog"));
        muduo::Logger::setLogLevel(muduo::Logger::INFO);
        dog.feed();
        EXPECT_EQ(1, log.count("feed dog"));
    }
    muduo::Logger::setLogLevel(saved);
    EXPECT_TRUE(log.contains("~HardwareWatchdog"));
    EXPECT_EQ(2u, keepAlives());
}
