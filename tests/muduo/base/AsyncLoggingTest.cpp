#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "muduo/base/AsyncLogging.h"
#include "muduo/base/CurrentThread.h"
#include "muduo/base/LogFile.h"
#include "platform/core/BoardRoot.h"

namespace
{
// A fresh log directory on the test's board root (board path and host path).
std::string makeLogDir(const std::string& name)
{
    ::mkdir(board::path("/var").c_str(), 0755);
    ::mkdir(board::path("/var/log").c_str(), 0755);
    std::string dir = "/var/log/" + name + "." + std::to_string(::getpid());
    ::mkdir(board::path(dir).c_str(), 0755);
    return dir;
}

std::vector<std::string> filesIn(const std::string& hostDir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(hostDir.c_str()))
    {
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

TEST(AsyncLoggingTest, WritesLinesToANamedFile)
{
    std::string dir = makeLogDir("async");
    {
        muduo::AsyncLogging log(dir + "/daemon", 1000 * 1000, 1);
        log.start();
        for (int i = 0; i < 1000; ++i)
        {
            std::string line = "line " + std::to_string(i) + "\n";
            log.append(line.data(), static_cast<int>(line.size()));
        }
        log.stop();
    }
    auto files = filesIn(board::path(dir));
    ASSERT_EQ(files.size(), 1u);
    std::regex name("daemon\\.[0-9]{8}-[0-9]{6}\\..+\\." + std::to_string(::getpid()) + "\\.log");
    EXPECT_TRUE(std::regex_match(files[0], name)) << files[0];

    std::string content = readFile(board::path(dir) + "/" + files[0]);
    EXPECT_EQ(content.find("line 0\n"), 0u);
    EXPECT_NE(content.find("\nline 999\n"), std::string::npos);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 1000);
}

TEST(LogFileTest, RollsWhenSizeIsExceeded)
{
    std::string dir = makeLogDir("roll");
    {
        muduo::LogFile file(dir + "/r", 100, true, 3, 1);
        std::string line(60, 'a');
        line += '\n';
        file.append(line.data(), static_cast<int>(line.size()));
        file.append(line.data(), static_cast<int>(line.size()));  // past 100 bytes: roll
        // Names carry seconds, so the next file appears in the next second.
        muduo::CurrentThread::sleepUsec(1100 * 1000);
        file.append(line.data(), static_cast<int>(line.size()));
        file.append(line.data(), static_cast<int>(line.size()));
        file.flush();
    }
    auto files = filesIn(board::path(dir));
    EXPECT_EQ(files.size(), 2u);
    size_t total = 0;
    for (const auto& f : files)
        total += readFile(board::path(dir) + "/" + f).size();
    EXPECT_EQ(total, 4u * 61);
}
