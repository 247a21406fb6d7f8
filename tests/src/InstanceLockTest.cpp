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
struct Daemon
{
    pid_t pid = -1;
    std::string outFile;

    void start(const std::string& root, const std::string& out)
    {
        outFile = out;
        pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
        {
            FILE* f = ::fopen(out.c_str(), "w");
            if (f)
            {
                ::dup2(::fileno(f), 1);
                ::dup2(::fileno(f), 2);
            }
            ::setenv("RAILBOX_ROOT", root.c_str(), 1);
            std::string exe = test::buildPath("railbox");
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    // Exit status, or -1 when it still runs after the time-out.
    int waitExit(double seconds)
    {
        for (int i = 0; i < seconds * 100; ++i)
        {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
            {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
            }
            muduo::CurrentThread::sleepUsec(10 * 1000);
        }
        return -1;
    }

    // True once the kernel lists this process as holding a flock.
    bool holdsLock(double seconds) const
    {
        for (int i = 0; i < seconds * 100; ++i)
        {
            std::ifstream locks("/proc/locks");
            std::string line;
            while (std::getline(locks, line))
                if (line.find("FLOCK") != std::string::npos && line.find(" " + std::to_string(pid) + " ") != std::string::npos)
                    return true;
            muduo::CurrentThread::sleepUsec(10 * 1000);
        }
        return false;
    }

    void kill()
    {
        if (pid > 0)
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }

    std::string output() const
    {
        std::ifstream in(outFile);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    ~Daemon() { kill(); }
};
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

TEST_F(InstanceLockTest, SecondDaemonRefusedUntilFirstEnds)
{
    std::string root = test::makeTempDir("railbox-lock");
    ::mkdir((root + "/usr").c_str(), 0755);
    ::mkdir((root + "/usr/app").c_str(), 0755);

    Daemon first;
    first.start(root, root + "/first.out");
    ASSERT_TRUE(first.holdsLock(20)) << first.output();

    Daemon second;
    second.start(root, root + "/second.out");
    EXPECT_EQ(second.waitExit(20), 255);
    std::string out = second.output();
    EXPECT_NE(out.find("lock file failed"), std::string::npos) << out;
    EXPECT_NE(out.find("Programe already running"), std::string::npos) << out;
    EXPECT_EQ(first.waitExit(0.01), -1) << "the first daemon must keep running";

    first.kill();
    Daemon third;
    third.start(root, root + "/third.out");
    EXPECT_TRUE(third.holdsLock(20)) << third.output();
    EXPECT_EQ(third.output().find("Programe already running"), std::string::npos);
    third.kill();
    test::removeTree(root);
}
