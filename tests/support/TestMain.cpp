// Every test program runs on a board root of its own, so nothing a test does
// (clock shifts, device files, databases) can reach the host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "support/Emulation.h"
#include "support/TempBoard.h"

int main(int argc, char** argv)
{
    if (!::getenv("RAILBOX_ROOT"))
    {
        static std::string root = test::makeTempDir("railbox-test-root");
        static pid_t owner = ::getpid();
        ::setenv("RAILBOX_ROOT", root.c_str(), 1);
        // Forked children (death tests, spawned daemons) leave it to the owner.
        std::atexit([] {
            if (::getpid() == owner)
                test::removeTree(root);
        });
    }
    // Threadsafe death tests start the program again by its argv[0].
    static std::string self = test::selfPath();
    if (test::emulated() && argc > 0 && !self.empty())
        argv[0] = &self[0];
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
