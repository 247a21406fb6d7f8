#include "support/NetNamespace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/Emulation.h"

namespace test
{
bool inNetNamespace() { return ::getenv("RAILBOX_NETNS") != nullptr; }

bool rerunInNetNamespace()
{
    if (inNetNamespace())
        return false;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    const std::string exe = selfPath();
    if (exe.empty())
    {
        ADD_FAILURE() << "cannot find the test program";
        return true;
    }
    const char* script = "ip link set lo up && RAILBOX_NETNS=1 exec \"$0\" \"$1\"";
    pid_t pid = ::fork();
    if (pid == 0)
    {
        ::execlp("unshare", "unshare", "-n", "sh", "-c", script, exe.c_str(), filter.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
    {
        ADD_FAILURE() << "cannot start the network namespace";
        return true;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the test failed in its network namespace (status " << status << ")";
    return true;
}
}
