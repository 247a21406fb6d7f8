// Every test program runs on a board root of its own, so nothing a test does
// (clock shifts, device files, databases) can reach the host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/TempBoard.h"

int main(int argc, char** argv)
{
    if (!::getenv("RAILBOX_ROOT"))
    {
        static std::string root = test::makeTempDir("railbox-test-root");
        ::setenv("RAILBOX_ROOT", root.c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
