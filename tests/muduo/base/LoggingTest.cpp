#include <gtest/gtest.h>

#include <cerrno>
#include <regex>
#include <string>
#include <vector>

#include "muduo/base/CurrentThread.h"
#include "muduo/base/Logging.h"

using muduo::Logger;

namespace
{
std::string g_out;
void capture(const char* msg, int len) { g_out.append(msg, static_cast<size_t>(len)); }

class LoggingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = Logger::logLevel();
        g_out.clear();
        Logger::setOutput(capture);
    }
    void TearDown() override
    {
        Logger::setOutput(nullptr);
        Logger::setLogLevel(saved_);
    }

    static std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> out;
        size_t start = 0;
        for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
            out.push_back(text.substr(start, nl - start));
        if (start < text.size())
            out.push_back(text.substr(start));
        return out;
    }

    static std::string trailer(int line) { return " - LoggingTest.cpp:" + std::to_string(line); }
    static int headerWidth() { return 25 + muduo::CurrentThread::tidStringLength() + 6; }

    Logger::LogLevel saved_ = Logger::INFO;
};

const char kHeader[] = "[0-9]{8} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{6} [ 0-9]{4}[0-9]+ ";
}  // namespace

TEST_F(LoggingTest, LineFormat)
{
    Logger::setLogLevel(Logger::INFO);
    LOG_INFO << "hello " << 42; int line = __LINE__;
    std::regex re(std::string("^") + kHeader + "INFO  hello 42" + trailer(line) + "\n$");
    EXPECT_TRUE(std::regex_match(g_out, re)) << g_out;

    int tid = muduo::CurrentThread::tid();
    char tidField[16];
    snprintf(tidField, sizeof tidField, "%5d ", tid);
    EXPECT_EQ(g_out.substr(25, strlen(tidField)), tidField);

    g_out.clear();
    LOG_WARN << "w"; line = __LINE__;
    EXPECT_NE(g_out.find(" WARN  w" + trailer(line) + "\n"), std::string::npos) << g_out;
    g_out.clear();
    LOG_ERROR << "e";
    EXPECT_NE(g_out.find(" ERROR e - "), std::string::npos) << g_out;
}

TEST_F(LoggingTest, LevelFiltering)
{
    Logger::setLogLevel(Logger::WARN);
    LOG_TRACE << "t";
    LOG_DEBUG << "d";
    LOG_INFO << "i";
    EXPECT_EQ(g_out, "");
    LOG_WARN << "w";
    EXPECT_EQ(lines(g_out).size(), 1u);

    g_out.clear();
    Logger::setLogLevel(Logger::TRACE);
    LOG_TRACE << "t";
    LOG_DEBUG << "d";
    auto l = lines(g_out);
    ASSERT_EQ(l.size(), 2u);
    // Trace and debug lines name the function.
    EXPECT_NE(l[0].find(" TRACE TestBody t - "), std::string::npos) << l[0];
    EXPECT_NE(l[1].find(" DEBUG TestBody d - "), std::string::npos) << l[1];
}

TEST_F(LoggingTest, SystemErrorLine)
{
    errno = ENOENT;
    LOG_SYSERR << "open";
    EXPECT_NE(g_out.find(" ERROR No such file or directory (errno=2) open - "), std::string::npos) << g_out;
}

TEST_F(LoggingTest, FatalFlushesThenAborts)
{
    auto die = [] {
        Logger::setOutput([](const char* msg, int len) { fwrite(msg, 1, static_cast<size_t>(len), stderr); });
        Logger::setFlush([] { fputs("FLUSHED", stderr); });
        LOG_FATAL << "boom";
    };
    EXPECT_DEATH(die(), "FATAL boom - LoggingTest.cpp:[0-9]+.FLUSHED");
}

TEST_F(LoggingTest, LongLinesAreCutNeverOverflow)
{
    LOG_WARN << std::string(20000, 'x'); int line = __LINE__;
    // A piece that does not fit is left out; the line still ends properly.
    EXPECT_EQ(g_out.find('x'), std::string::npos);
    EXPECT_NE(g_out.find("WARN  " + trailer(line) + "\n"), std::string::npos) << g_out;

    g_out.clear();
    std::string piece(100, 'y');
    {
        muduo::Logger logger(__FILE__, __LINE__, Logger::WARN);
        for (int i = 0; i < 200; ++i)
            logger.stream() << piece;
    }
    EXPECT_LE(g_out.size(), 10000u);
    EXPECT_GT(g_out.size(), 9000u);
    EXPECT_EQ(g_out.back(), '\n');
    EXPECT_NE(g_out.find("yy - LoggingTest.cpp:"), std::string::npos);
    EXPECT_EQ(lines(g_out).size(), 1u);

    g_out.clear();
    LOG_WARN << std::string(9999, 'z');
    EXPECT_LE(g_out.size(), 10000u);
    EXPECT_EQ(g_out.back(), '\n');
}

TEST_F(LoggingTest, HexDumpLayouts)
{
    std::vector<unsigned char> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i);
    const std::string indent(static_cast<size_t>(headerWidth()), ' ');
    const std::string first16 = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ";

    LOG_HEX_INFO(bytes.data(), 0); int line = __LINE__;
    auto l = lines(g_out);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_TRUE(std::regex_match(l[0], std::regex(std::string("^") + kHeader + "INFO  " + trailer(line) + "$")))
        << l[0];

    g_out.clear();
    LOG_HEX_INFO(bytes.data(), 16); line = __LINE__;
    l = lines(g_out);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].substr(static_cast<size_t>(headerWidth())), first16 + trailer(line));

    g_out.clear();
    LOG_HEX_INFO(bytes.data(), 17); line = __LINE__;
    l = lines(g_out);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].substr(static_cast<size_t>(headerWidth())), first16 + trailer(line));
    EXPECT_EQ(l[1], indent + "10 ");

    g_out.clear();
    LOG_HEX(Logger::WARN, bytes.data(), 40) << "tag"; line = __LINE__;
    l = lines(g_out);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].substr(static_cast<size_t>(headerWidth()) - 6), "WARN  " + first16 + "tag" + trailer(line));
    EXPECT_EQ(l[1], indent + "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ");
    EXPECT_EQ(l[2], indent + "20 21 22 23 24 25 26 27 ");
    EXPECT_EQ(g_out.back(), '\n');

    // A dump too long for one record keeps whole lines only.
    g_out.clear();
    LOG_HEX_INFO(bytes.data(), 5000);
    EXPECT_LE(g_out.size(), 10000u);
    EXPECT_EQ(g_out.back(), '\n');
    l = lines(g_out);
    ASSERT_GT(l.size(), 50u);
    for (size_t i = 1; i < l.size(); ++i)
        EXPECT_EQ(l[i].size(), indent.size() + 48) << i;

    // Below the level nothing is written.
    g_out.clear();
    Logger::setLogLevel(Logger::WARN);
    LOG_HEX_INFO(bytes.data(), 40);
    EXPECT_EQ(g_out, "");
}
