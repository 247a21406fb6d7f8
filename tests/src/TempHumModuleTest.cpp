// Sensor records, decoded from a buffer and read from a FIFO stand-in of
// /dev/temp_hum.
#include "TempHumModule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/FifoDevice.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"

namespace
{
void logToStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }

struct Reading
{
    bool valid;
    double temperature;
    double humidity;
};

// A record as the driver writes it: five little-endian int32.
std::string record(int32_t valid, int32_t tWhole, int32_t tTenths, int32_t hWhole, int32_t hTenths)
{
    std::string out;
    for (int32_t v : {valid, tWhole, tTenths, hWhole, hTenths})
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF));
    return out;
}

TempHumModule::ReadingCallback collect(std::vector<Reading>& out)
{
    return [&out](bool valid, double t, double h) { out.push_back({valid, t, h}); };
}

std::vector<Reading> decode(muduo::net::Buffer& buffer, const std::string& bytes)
{
    std::vector<Reading> out;
    buffer.append(bytes);
    TempHumModule::decode(&buffer, collect(out));
    return out;
}
}

TEST(TempHumModuleTest, RecordGivesValidityTemperatureAndHumidity)
{
    muduo::net::Buffer buffer;
    auto r = decode(buffer, record(1, 23, 5, 45, 2));
    ASSERT_EQ(1u, r.size());
    EXPECT_TRUE(r[0].valid);
    EXPECT_DOUBLE_EQ(23.5, r[0].temperature);
    EXPECT_DOUBLE_EQ(45.2, r[0].humidity);

    // An invalid reading passes on whatever values it carries.
    r = decode(buffer, record(0, 99, 9, -1, 0));
    ASSERT_EQ(1u, r.size());
    EXPECT_FALSE(r[0].valid);
    EXPECT_DOUBLE_EQ(99.9, r[0].temperature);
    EXPECT_DOUBLE_EQ(-1.0, r[0].humidity);

    // Any non-zero flag is valid; signed parts add up as they are.
    r = decode(buffer, record(-7, -5, -3, 0, 7));
    ASSERT_EQ(1u, r.size());
    EXPECT_TRUE(r[0].valid);
    EXPECT_DOUBLE_EQ(-5.3, r[0].temperature);
    EXPECT_DOUBLE_EQ(0.7, r[0].humidity);
    EXPECT_EQ(0u, buffer.readableBytes());
}

TEST(TempHumModuleTest, PartialRecordsWaitAndSeveralComeInOrder)
{
    muduo::net::Buffer buffer;
    std::string two = record(1, 20, 0, 30, 0) + record(1, 21, 0, 31, 0);
    auto r = decode(buffer, two.substr(0, 19));
    EXPECT_TRUE(r.empty());
    r = decode(buffer, two.substr(19, 1));
    ASSERT_EQ(1u, r.size());
    EXPECT_DOUBLE_EQ(20.0, r[0].temperature);

    r = decode(buffer, two + two.substr(20, 7));
    ASSERT_EQ(2u, r.size());
    EXPECT_DOUBLE_EQ(20.0, r[0].temperature);
    EXPECT_DOUBLE_EQ(31.0, r[1].humidity);
    EXPECT_EQ(7u, buffer.readableBytes());

    TempHumModule::decode(&buffer, TempHumModule::ReadingCallback());  // no callback: nothing to do yet
    buffer.append(two.substr(27));
    TempHumModule::decode(&buffer, TempHumModule::ReadingCallback());
    EXPECT_EQ(0u, buffer.readableBytes());
}

TEST(TempHumModuleTest, ExtremeValuesStayFinite)
{
    muduo::net::Buffer buffer;
    auto r = decode(buffer, record(1, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN));
    ASSERT_EQ(1u, r.size());
    EXPECT_DOUBLE_EQ(INT32_MAX + INT32_MAX / 10.0, r[0].temperature);
    EXPECT_DOUBLE_EQ(INT32_MIN + INT32_MIN / 10.0, r[0].humidity);
}

TEST(TempHumModuleTest, DebugLineShowsTheIntegersAsReceived)
{
    muduo::Logger::LogLevel saved = muduo::Logger::logLevel();
    muduo::Logger::setLogLevel(muduo::Logger::DEBUG);
    test::LogCapture log;
    muduo::net::Buffer buffer;
    decode(buffer, record(1, 23, 5, 45, 2));
    muduo::Logger::setLogLevel(saved);
    EXPECT_TRUE(log.contains("temp:23.5,hum:45.2")) << log.text();
}

TEST(TempHumModuleTest, ReadsRecordsSplitAcrossDeviceReads)
{
    muduo::net::EventLoop loop;
    test::FifoDevice device(TempHumModule::kDevName);
    TempHumModule sensor(&loop);
    std::vector<Reading> readings;
    sensor.setReadingCallback(collect(readings));
    sensor.startRead();

    std::string rec = record(1, 23, 5, 45, 2);
    device.write(rec.substr(0, 10));
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_TRUE(readings.empty());
    device.write(rec.substr(10) + record(0, 1, 1, 2, 2).substr(0, 3));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return readings.size() == 1; }, 5.0));
    EXPECT_DOUBLE_EQ(45.2, readings[0].humidity);
    device.write(record(0, 1, 1, 2, 2).substr(3));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return readings.size() == 2; }, 5.0));
    EXPECT_FALSE(readings[1].valid);
    EXPECT_DOUBLE_EQ(2.2, readings[1].humidity);
}

TEST(TempHumModuleDeathTest, MissingDeviceIsFatal)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::filesystem::remove(board::path(TempHumModule::kDevName));
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(logToStderr);
            muduo::net::EventLoop loop;
            TempHumModule sensor(&loop);
        },
        "Failed in open .*/dev/temp_hum");
}
