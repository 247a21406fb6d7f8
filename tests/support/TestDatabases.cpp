#include "support/TestDatabases.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/core/BoardRoot.h"
#include "support/TempBoard.h"

namespace test
{
namespace
{
// How long a test waits for the daemon's write to end before reading.
const int kBusyMillis = 2000;
}

void makeFactoryDatabases(const std::string& dir)
{
    std::string cmd = "'" + sourcePath("platform/db/mkdb.sh") + "' -f '" + dir + "'";
    if (::system(cmd.c_str()) != 0)
        throw std::runtime_error("mkdb.sh failed for " + dir);
}

std::string resetBoardDatabases()
{
    std::string dir = board::path("/var/www/database");
    makeFactoryDatabases(dir);
    return dir;
}

std::string boardDatabase(const std::string& file) { return board::path("/var/www/database/" + file); }

void execSql(const std::string& file, const std::string& sql)
{
    // The daemon under test may be writing the same file.
    SQLite::Database db(file, SQLite::OPEN_READWRITE, kBusyMillis);
    db.exec(sql);
}

std::string queryText(const std::string& file, const std::string& sql)
{
    SQLite::Database db(file, SQLite::OPEN_READONLY, kBusyMillis);
    SQLite::Statement query(db, sql);
    if (!query.executeStep())
        return "<none>";
    SQLite::Column c = query.getColumn(0);
    return c.isNull() ? "<null>" : c.getString();
}
}
