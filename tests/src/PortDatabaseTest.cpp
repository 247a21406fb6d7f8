#include "PortDatabase.h"

#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "support/TestDatabases.h"

namespace
{
void toStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }

class PortDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GlobalData::getDevice().portCount = 8;
        test::resetBoardDatabases();
    }

    std::string file() const { return test::boardDatabase("outlet.db"); }
    int count(const std::string& sql) { return std::stoi(test::queryText(file(), sql)); }
    void exec(const std::string& sql) { test::execSql(file(), sql); }

};
}

TEST_F(PortDatabaseTest, MaskWritesOnlyMarkedPortsInRange)
{
    PortDatabase db;
    exec("insert into status values (5, 1)");
    ASSERT_TRUE(db.updatePortsStatus(0, 7, 0x205, 0x201));  // bit 9 lies outside 0..7
    EXPECT_EQ(1, count("select on_off from status where port = 0"));
    EXPECT_EQ(0, count("select on_off from status where port = 2"));
    EXPECT_EQ(1, count("select on_off from status where port = 5"));
    EXPECT_EQ(3, count("select count(*) from status"));

    EXPECT_TRUE(db.updatePortsStatus(7, 0, 0xFF, 0xFF));
    EXPECT_TRUE(db.updatePortsStatus(-5, 40, 0xFFFFFFFFu, 0x80000000u));
    EXPECT_EQ(1, count("select on_off from status where port = 31"));
    EXPECT_EQ(32, count("select count(*) from status"));
}

TEST_F(PortDatabaseTest, StatesSurviveARestart)
{
    {
        PortDatabase db;
        ASSERT_TRUE(db.updatePortsStatus(0, 7, 0xFF, 0xA5));
        ASSERT_TRUE(db.updatePortStatus(1, 1));
    }
    PortDatabase db;
    std::map<int, int> states{{99, 99}};
    ASSERT_TRUE(db.loadPortStatus(states));
    EXPECT_EQ((std::map<int, int>{{0, 1}, {1, 1}, {2, 1}, {3, 0}, {4, 0}, {5, 1}, {6, 0}, {7, 1}}), states);

    unsigned mask = 0xFFFF0000u;
    ASSERT_TRUE(db.loadPortsStatus(0, 7, mask));
    EXPECT_EQ(0xFFFF00A7u, mask);
}

TEST_F(PortDatabaseTest, ForeignPortsAreNeverUsed)
{
    PortDatabase db;
    std::map<int, int> states{{3, 1}};
    ASSERT_TRUE(db.loadPortStatus(states));
    EXPECT_TRUE(states.empty());

    exec("insert into status values (-3, 1), (-2147483648, 1), (4, 1), (8, 1), (40, 1), (2147483647, 0)");
    ASSERT_TRUE(db.loadPortStatus(states));
    EXPECT_EQ((std::map<int, int>{{4, 1}}), states);

    unsigned mask = 0x1;
    ASSERT_TRUE(db.loadPortsStatus(-2147483647 - 1, 2147483647, mask));
    EXPECT_EQ(0x111u, mask);  // ports 4 and 8: the masks reach outlet 31
    mask = 0x1;
    ASSERT_TRUE(db.loadPortsStatus(5, 7, mask));
    EXPECT_EQ(0x1u, mask);
}

TEST_F(PortDatabaseTest, MissingOrUnreadableFileIsFatal)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    ASSERT_EQ(0, std::remove(file().c_str()));
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(toStderr);
            PortDatabase db;
        },
        "FATAL.*outlet\\.db");
    SQLite::Database other(file(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    other.exec("create table unrelated (x integer)");
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(toStderr);
            PortDatabase db;
        },
        "FATAL.*outlet\\.db");
}
