#include "DbAccess.h"
#include "PortDatabase.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/StoreFixture.h"

namespace
{
class DbAccessTest : public test::StoreFixture
{
protected:
    // Runs write while another program holds a read of file, which it ends
    // soon after.
    template <typename Write>
    static bool writeWhileRead(const std::string& file, Write&& write)
    {
        SQLite::Database reader(file, SQLite::OPEN_READONLY);
        reader.exec("begin");
        SQLite::Statement(reader, "select count(*) from sqlite_master").executeStep();
        std::thread ending([&reader] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            reader.exec("commit");
        });
        const bool written = write();
        ending.join();
        return written;
    }
};
}

TEST_F(DbAccessTest, AWriteWaitsForAReaderInsteadOfFailing)
{
    EXPECT_TRUE(writeWhileRead(pdu(), [] {
        return DbAccess::write("/var/www/database/pdu.db", [](SQLite::Database& db) {
            SQLite::Transaction transaction(db);
            db.exec("insert into system_logs values(null, 1, 'kept', 0, datetime('now'))");
            transaction.commit();
            return true;
        });
    }));
    EXPECT_EQ("1", test::queryText(pdu(), "select count(*) from system_logs where content='kept'"));

    PortDatabase outlets;
    EXPECT_TRUE(writeWhileRead(test::boardDatabase("outlet.db"), [&outlets] {
        return outlets.updatePortsStatus(0, 7, 0x04, 0x04);
    }));
    EXPECT_EQ("1", test::queryText(test::boardDatabase("outlet.db"), "select on_off from status where port=2"));
}
