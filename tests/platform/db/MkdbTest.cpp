#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "support/TempBoard.h"
#include "support/TestDatabases.h"

namespace
{
int runMkdb(const std::string& args)
{
    std::string cmd = "'" + test::sourcePath("platform/db/mkdb.sh") + "' " + args + " 2>/dev/null";
    int status = ::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct TempDir
{
    std::string path = test::makeTempDir("railbox-mkdb");
    ~TempDir() { test::removeTree(path); }
};

std::string count(const std::string& file, const std::string& sql) { return test::queryText(file, sql); }
}

TEST(MkdbTest, CreatesTheFourDatabasesWithFactoryRows)
{
    TempDir dir;
    ASSERT_EQ(0, runMkdb("'" + dir.path + "/db'"));
    const std::string d = dir.path + "/db/";
    for (const char* pdu : {"pdu.db", "pdu_default.db"})
    {
        const std::string f = d + pdu;
        EXPECT_EQ("G020300000000001", count(f, "select value from settings where name='hard_id'"));
        EXPECT_EQ("1", count(f, "select count(*) from alarms where addr=0 and port is null"));
        EXPECT_EQ("8", count(f, "select count(*) from alarms where addr=0 and port between 0 and 7"));
        EXPECT_EQ("8", count(f, "select count(*) from delays where addr=0"));
        EXPECT_EQ("8", count(f, "select count(*) from ping where addr=0"));
        EXPECT_EQ("1", count(f, "select count(*) from pdu_names where addr=0"));
        for (const char* table : {"tasks", "system_logs", "email_settings", "email_receivers", "email_records"})
            EXPECT_EQ("0", count(f, std::string("select count(*) from ") + table));
    }
    EXPECT_EQ("9", count(d + "energy.db", "select count(*) from variable"));
    EXPECT_EQ("1", count(d + "energy.db", "select count(*) from variable where port=255"));
    EXPECT_EQ("0", count(d + "outlet.db", "select count(*) from status"));
}

TEST(MkdbTest, RefusesToOverwriteWithoutForce)
{
    TempDir dir;
    ASSERT_EQ(0, runMkdb("'" + dir.path + "'"));
    const std::string pdu = dir.path + "/pdu.db";
    test::execSql(pdu, "update settings set value='changed' where name='description'");
    EXPECT_NE(0, runMkdb("'" + dir.path + "'"));
    EXPECT_EQ("changed", count(pdu, "select value from settings where name='description'"));
    ASSERT_EQ(0, runMkdb("-f '" + dir.path + "'"));
    EXPECT_EQ("", count(pdu, "select value from settings where name='description'"));
}

TEST(MkdbTest, RejectsBadUsage)
{
    EXPECT_NE(0, runMkdb(""));
    EXPECT_NE(0, runMkdb("a b"));
}
