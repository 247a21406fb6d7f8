// The two commands of the README asked for their usage print it and stop:
// nothing is installed, built or run. They run with a PATH that holds cat
// and dirname alone, so a script that went on would fail at its first other
// tool (scripts/setup's) instead of starting a simulation or the whole suite.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/TempBoard.h"

namespace
{
// Standard output and error of a script run with only cat and dirname on
// its PATH.
int runAlone(const std::string& script, const std::string& args, std::string& out)
{
    const std::string bin = test::makeTempDir("rb-script-path");
    const std::string command = "ln -s \"$(command -v cat)\" \"$(command -v dirname)\" " + bin + " && env -i PATH="
                                + bin + " /bin/bash " + test::sourcePath(script) + " " + args + " 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    out.clear();
    char chunk[4096];
    for (size_t n; p && (n = std::fread(chunk, 1, sizeof chunk, p)) > 0;)
        out.append(chunk, n);
    const int status = p ? ::pclose(p) : -1;
    test::removeTree(bin);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ScriptUsageTest, HelpPrintsTheUsageAndStops)
{
    std::string out;
    for (const char* args : {"--help", "-h", "--slaves 2 --help"})
    {
        EXPECT_EQ(0, runAlone("scripts/simulate", args, out)) << args << ": " << out;
        EXPECT_EQ(0u, out.rfind("usage: ", 0)) << out;
        EXPECT_NE(std::string::npos, out.find("--slaves N")) << out;
        EXPECT_NE(std::string::npos, out.find("RAILBOX_ROOT")) << out;
    }
    for (const char* args : {"--help", "-h"})
    {
        EXPECT_EQ(0, runAlone("scripts/test", args, out)) << args << ": " << out;
        EXPECT_EQ(0u, out.rfind("usage: ", 0)) << out;
        for (const char* stage : {"plain", "sanitizers", "armel", "fuzz", "minutes"})
            EXPECT_NE(std::string::npos, out.find(stage)) << stage << " in " << out;
    }
    // A wrong chain length is refused with the usage.
    EXPECT_EQ(2, runAlone("scripts/simulate", "--slaves 9", out)) << out;
    EXPECT_EQ(0u, out.rfind("usage: ", 0)) << out;
}
}
