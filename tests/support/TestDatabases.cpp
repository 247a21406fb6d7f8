#include "support/TestDatabases.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/core/BoardRoot.h"
#include "support/TempBoard.h"

namespace test
{
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

// A running daemon may be writing the file at that moment.
const int kBusyTimeoutMs = 5000;

std::string boardDatabase(const std::string& file) { return board::path("/var/www/database/" + file); }

void execSql(const std::string& file, const std::string& sql)
{
    SQLite::Database db(file, SQLite::OPEN_READWRITE, kBusyTimeoutMs);
    db.exec(sql);
}

std::string queryText(const std::string& file, const std::string& sql)
{
    SQLite::Database db(file, SQLite::OPEN_READONLY, kBusyTimeoutMs);
    SQLite::Statement query(db, sql);
    if (!query.executeStep())
        return "<none>";
    SQLite::Column c = query.getColumn(0);
    return c.isNull() ? "<null>" : c.getString();
}
}
