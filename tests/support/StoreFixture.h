#pragma once
#include <gtest/gtest.h>

#include <string>

#include "support/TestDatabases.h"

namespace test
{
// A fresh factory set of the board's databases for every test.
class StoreFixture : public ::testing::Test
{
protected:
    void SetUp() override { resetBoardDatabases(); }
    static void resetDatabases() { resetBoardDatabases(); }

    static std::string pdu() { return boardDatabase("pdu.db"); }
    static std::string pduDefault() { return boardDatabase("pdu_default.db"); }
    static void sql(const std::string& statement) { execSql(pdu(), statement); }
    static void setSetting(const std::string& key, const std::string& value)
    {
        sql("replace into settings(name, value) values('" + key + "', '" + value + "')");
    }
    static void dropSetting(const std::string& key) { sql("delete from settings where name='" + key + "'"); }
    static std::string setting(const std::string& key, const std::string& file = pdu())
    {
        return queryText(file, "select value from settings where name='" + key + "'");
    }
};
}
