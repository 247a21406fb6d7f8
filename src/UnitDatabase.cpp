#include "UnitDatabase.h"

#include <SQLiteCpp/Statement.h>

#include "DbAccess.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

std::unique_ptr<SQLite::Database> UnitDatabase::openOrDie(const char* unitPath,
                                                          std::initializer_list<const char*> probes)
{
    const std::string file = board::path(unitPath);
    try
    {
        auto db = std::make_unique<SQLite::Database>(file, SQLite::OPEN_READWRITE, DbAccess::kBusyMillis);
        for (const char* probe : probes)
            SQLite::Statement check(*db, probe);
        return db;
    }
    catch (const SQLite::Exception& e)
    {
        LOG_FATAL << "cannot use database " << file << ": " << e.what();
    }
    return nullptr;
}
