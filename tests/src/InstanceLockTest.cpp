#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "InstanceLock.h"
#include "muduo/base/CurrentThread.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"
#include "support/TempBoard.h"

namespace
{
std::string g_log;
void capture(const char* msg, int len) { g_log.append(msg, static_cast<size_t>(len)); }

class InstanceLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        muduo::Logger::setOutput(capture);
        ::mkdir(board::path("/usr").c_str(), 0755);
        ::mkdir(board::path("/usr/app").c_str(), 0755);
    }
    void TearDown() override { muduo::Logger::setOutput(nullptr); }
};

// A railbox child on its own board root, its output in a file.
}  // namespace

TEST_F(InstanceLockTest, SecondHolderInTheSameProcessIsRefused)
{
    {
        InstanceLock first;
        EXPECT_TRUE(first.lock());
        InstanceLock second;
        EXPECT_FALSE(second.lock());
        EXPECT_NE(g_log.find("WARN  lock file failed - InstanceLock.cpp:"), std::string::npos) << g_log;

        first.unlock();
        EXPECT_TRUE(second.lock());
    }
    // The file stays on disk and is reused.
    struct stat st;
    EXPECT_EQ(::stat(board::path(InstanceLock::kLockFile).c_str(), &st), 0);
    InstanceLock again;
    EXPECT_TRUE(again.lock());
}

TEST_F(InstanceLockTest, MissingDirectoryFailsToLock)
{
    ::unlink(board::path(InstanceLock::kLockFile).c_str());
    ::rmdir(board::path("/usr/app").c_str());
    InstanceLock lock;
    EXPECT_NE(g_log.find("open lock file failed"), std::string::npos) << g_log;
    EXPECT_FALSE(lock.lock());
    EXPECT_NE(g_log.find("lock file failed"), std::string::npos);
}
