// Front-panel key records, decoded from a buffer and read from a FIFO
// stand-in of /dev/key.
#include "KeyReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/FifoDevice.h"
#include "support/LoopUntil.h"

namespace
{
void logToStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }

typedef std::vector<std::pair<int, int>> Events;

KeyReader::KeyCallback collect(Events& events)
{
    return [&events](unsigned short key, unsigned short state) { events.emplace_back(key, state); };
}

Events decode(muduo::net::Buffer& buffer, const std::string& bytes)
{
    Events events;
    buffer.append(bytes);
    KeyReader::decode(&buffer, collect(events));
    return events;
}
}

TEST(KeyReaderTest, WordsBecomeCodeAndState)
{
    muduo::net::Buffer buffer;
    EXPECT_EQ((Events{{1, 256}}), decode(buffer, std::string("\x01\x01", 2)));
    EXPECT_EQ((Events{{6, 512}}), decode(buffer, std::string("\x06\x02", 2)));
    // Any word is an event; code and state pass on unchanged.
    EXPECT_EQ((Events{{0xAB, 0xCD00}, {0, 0}}), decode(buffer, std::string("\xAB\xCD\x00\x00", 4)));
    EXPECT_EQ(0u, buffer.readableBytes());
}

TEST(KeyReaderTest, OddByteWaitsForItsPartner)
{
    muduo::net::Buffer buffer;
    EXPECT_EQ((Events{{3, 256}}), decode(buffer, "\x03\x01\x04"));
    EXPECT_EQ(1u, buffer.readableBytes());
    EXPECT_EQ((Events{{4, 256}}), decode(buffer, "\x01"));
    EXPECT_EQ(0u, buffer.readableBytes());
    EXPECT_TRUE(decode(buffer, "").empty());
}

TEST(KeyReaderTest, WithoutCallbackRecordsAreDropped)
{
    muduo::net::Buffer buffer;
    buffer.append("\x01\x01\x02\x01\x05", 5);
    KeyReader::decode(&buffer, KeyReader::KeyCallback());
    EXPECT_EQ(1u, buffer.readableBytes());
}

TEST(KeyReaderTest, GarbageOfAnyLengthIsConsumedWholeRecordsAtATime)
{
    muduo::net::Buffer buffer;
    std::string junk;
    for (int i = 0; i < 4097; ++i)
        junk.push_back(static_cast<char>(i * 37 + 11));
    EXPECT_EQ(2048u, decode(buffer, junk).size());
    EXPECT_EQ(1u, buffer.readableBytes());
}

TEST(KeyReaderTest, ReadsRecordsSplitAcrossDeviceReads)
{
    muduo::net::EventLoop loop;
    test::FifoDevice device(KeyReader::kDevName);
    KeyReader keys(&loop);
    Events events;
    keys.setKeyCallback(collect(events));

    device.write("\x02\x01");  // before reading starts: kept by the driver
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_TRUE(events.empty());

    keys.startRead();
    EXPECT_TRUE(test::loopUntil(loop, [&] { return events.size() == 1; }, 5.0));
    device.write("\x05");  // half a record
    test::loopUntil(loop, [] { return false; }, 0.05);
    EXPECT_EQ(1u, events.size());
    device.write(std::string("\x02\x03\x01", 3));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return events.size() == 3; }, 5.0));
    EXPECT_EQ((Events{{2, 256}, {5, 512}, {3, 256}}), events);
    EXPECT_FALSE(keys.getFileHandler()->hungUp());
}

TEST(KeyReaderDeathTest, MissingDeviceIsFatal)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::filesystem::remove(board::path(KeyReader::kDevName));
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(logToStderr);
            muduo::net::EventLoop loop;
            KeyReader keys(&loop);
        },
        "Failed in open .*/dev/key");
}
