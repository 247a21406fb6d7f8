#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/agentlink/AgentLinkApi.h"
#include "support/TempBoard.h"

namespace
{
// Runs the viewer in its own process; returns its exit status.
int dump(const std::string& args, std::string& out)
{
    std::string cmd = test::buildPath("platform/agentlink/agentlink-dump") + " " + args + " 2>/dev/null";
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
