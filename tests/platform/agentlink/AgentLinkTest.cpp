#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/agentlink/AgentLinkApi.h"
#include "support/TempBoard.h"

namespace
{
std::string viewer() { return test::buildPath("platform/agentlink/agentlink-dump"); }

// Runs a shell command; returns its exit status.
int run(const std::string& cmd, std::string& out)
{
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    out.clear();
    char buf[4096];
    size_t n;
    while ((n = ::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    return ::pclose(p);
}

// Runs the viewer in its own process; returns its exit status.
int dump(const std::string& args, std::string& out) { return run(viewer() + " " + args + " 2>/dev/null", out); }

std::vector<int> tableWords(const std::string& line)
{
    std::istringstream in(line.substr(line.find(':') + 1));
    std::vector<int> words;
    int w;
    while (in >> w)
        words.push_back(w);
    return words;
}

class AgentLinkTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(0, init_shm_sem_master()); }
    void TearDown() override
    {
        del_sem();
        del_shm();
    }
};
}

TEST_F(AgentLinkTest, SetAndGetWithinTables)
{
    int32_t words[3] = {7, -8, 9};
    EXPECT_GT(snmp_set_data(1, 417, sizeof words, words), 0);  // last three words of table 1
    int32_t back[3] = {};
    EXPECT_GT(snmp_get_data(1, 417, sizeof back, back), 0);
    EXPECT_EQ(-8, back[1]);
    EXPECT_EQ(9, back[2]);

    // Nothing may cross the end of a table or name a missing one.
    EXPECT_LE(snmp_set_data(1, 418, sizeof words, words), 0);
    EXPECT_LE(snmp_set_data(0, 13, 4, words), 0);
    EXPECT_LE(snmp_set_data(10, 0, 4, words), 0);
    EXPECT_LE(snmp_set_data(-1, 0, 4, words), 0);
    EXPECT_LE(snmp_set_data(0, -1, 4, words), 0);
    EXPECT_LE(snmp_get_data(9, 359, 8, back), 0);
    EXPECT_LE(snmp_get_data(0, 0, 4, nullptr), 0);
    EXPECT_LE(snmp_get_data(0, 0, 0, back), 0);
}

TEST_F(AgentLinkTest, AnotherProcessSeesTheTables)
{
    int32_t head[9] = {1, 2300, 150, 3000, 95, 4000, -55, 421, 8};
    ASSERT_GT(snmp_set_data(5, 0, sizeof head, head), 0);
    int32_t state = 1;
    ASSERT_GT(snmp_set_data(9, 359, 4, &state), 0);

    std::string out;
    ASSERT_EQ(0, dump("5", out));
    EXPECT_EQ(std::vector<int>({1, 2300, 150, 3000, 95, 4000, -55, 421, 8}), tableWords(out));

    ASSERT_EQ(0, dump("", out));
    std::istringstream lines(out);
    std::string line;
    int tables = 0;
    std::vector<int> last;
    while (std::getline(lines, line))
    {
        if (line.rfind("table ", 0) != 0)
            continue;  // a labelled record
        ++tables;
        last = tableWords(line);
    }
    EXPECT_EQ(10, tables);
    ASSERT_EQ(360u, last.size());
    EXPECT_EQ(1, last[359]);
}

TEST_F(AgentLinkTest, BoardsDoNotShareTables)
{
    std::string out;
    std::string other = test::makeTempDir("railbox-other-board");
    EXPECT_NE(0, dump("--root " + other + " 0", out));
    test::removeTree(other);
}

TEST_F(AgentLinkTest, EachRecordIsLabelled)
{
    // The unit: 230.1 V, 1.50 A, 345.0 W, factor 0.95, 12.34 kWh, no sensor,
    // voltage high, two outlets, started.
    int32_t unit[13] = {2301, 150, 3450, 95, 1234, INT32_MIN, INT32_MIN, 2, 0, 0, 0, 2, 1};
    ASSERT_GT(snmp_set_data(0, 0, sizeof unit, unit), 0);
    int32_t outlet[7] = {2301, 35, 765, 95, 1, 2, 1};  // the second outlet: on, current high
    ASSERT_GT(snmp_set_data(1, 7, sizeof outlet, outlet), 0);
    int32_t head[9] = {1, 2290, 5, 100, 100, 7, -55, 421, 1};  // slave slot 2: one outlet
    ASSERT_GT(snmp_set_data(3, 0, sizeof head, head), 0);

    std::string out;
    ASSERT_EQ(0, dump("0", out));
    EXPECT_EQ("table 0: 2301 150 3450 95 1234 -2147483648 -2147483648 2 0 0 0 2 1\n"
              "  unit: 230.1 V, 1.50 A, 345.0 W, power factor 0.95, 12.34 kWh, no temperature, no humidity; "
              "alarms: voltage high; 2 outlets; started\n",
              out);
    EXPECT_EQ(13u, tableWords(out).size());  // the words read as before
    ASSERT_EQ(0, dump("1", out));
    EXPECT_NE(std::string::npos, out.find("\n  outlet 1: off, 0.0 V, 0.00 A, 0.0 W, power factor 0.00, 0.00 kWh; "
                                          "alarms: none\n"))
        << out;
    EXPECT_NE(std::string::npos, out.find("\n  outlet 2: on, 230.1 V, 0.35 A, 76.5 W, power factor 0.95, 0.01 kWh; "
                                          "alarms: current high\n"))
        << out;
    EXPECT_NE(std::string::npos, out.find("\n  the other 58 outlets: every word 0\n")) << out;
    ASSERT_EQ(0, dump("3", out));
    EXPECT_NE(std::string::npos,
              out.find("\n  slave slot 2: valid, 229.0 V, 0.05 A, 10.0 W, power factor 1.00, 0.07 kWh, "
                       "-5.5 C, 42.1 %RH; 1 outlets\n"))
        << out;
    ASSERT_EQ(0, dump("7", out));
    EXPECT_NE(std::string::npos, out.find("\n  slave slot 2, outlet 1: off, 0.0 V")) << out;
    EXPECT_NE(std::string::npos, out.find("\n  slave slot 2, the other 59 outlets: every word 0\n")) << out;
}

// The board root as the README prints it, relative to where the command
// runs, or through a link: the same tables as the daemon's absolute root.
TEST_F(AgentLinkTest, AnyPathToTheBoardFindsItsTables)
{
    int32_t word = 4242;
    ASSERT_GT(snmp_set_data(0, 12, sizeof word, &word), 0);
    const std::string root = std::getenv("RAILBOX_ROOT");
    const size_t slash = root.find_last_of('/');
    const std::string parent = root.substr(0, slash), name = root.substr(slash + 1);
    const std::string links = test::makeTempDir("railbox-board-link");
    ASSERT_EQ(0, ::symlink(root.c_str(), (links + "/board").c_str()));
    std::string out;
    for (const std::string& args : {"--root " + name + " 0", "--root ./" + name + "/ 0",
                                    "--root " + links + "/board 0"})
    {
        ASSERT_EQ(0, run("cd " + parent + " && " + viewer() + " " + args, out)) << args;
        ASSERT_EQ(13u, tableWords(out).size()) << args;
        EXPECT_EQ(4242, tableWords(out)[12]) << args;
    }
    test::removeTree(links);
}

TEST(AgentLinkLifecycle, ReleasedTablesAreGone)
{
    ASSERT_EQ(0, init_shm_sem_master());
    std::string out;
    EXPECT_EQ(0, dump("0", out));
    EXPECT_EQ(0, del_sem());
    EXPECT_EQ(0, del_shm());
    EXPECT_NE(0, dump("0", out));
    int32_t w = 0;
    EXPECT_LE(snmp_set_data(0, 0, 4, &w), 0);
}

// What a daemon ended by a signal leaves behind: the simulated board removes
// it when it stops.
TEST(AgentLinkLifecycle, RemoveTakesTheTablesOfABoard)
{
    ASSERT_EQ(0, init_shm_sem_master());
    const std::string root = std::getenv("RAILBOX_ROOT");
    std::string out;
    ASSERT_EQ(0, dump("--root " + root + " 0", out));
    EXPECT_EQ(0, dump("--root " + root + "/ --remove", out));
    EXPECT_NE(0, dump("--root " + root + " 0", out));
    EXPECT_NE(0, dump("--root " + root + " --remove", out));  // nothing left to remove
    del_sem();
    del_shm();
}
