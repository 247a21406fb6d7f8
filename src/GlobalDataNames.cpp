// Device and outlet names of the row addr 0 of pdu_names.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "DbAccess.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace
{
std::string nameColumn(int key) { return key < 0 ? std::string("name") : "port_" + std::to_string(key); }
}

bool GlobalData::loadNamesFromDb(const std::set<int>& keys, std::map<int, std::string>& names)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        std::string sql = "select ";
        for (auto it = keys.begin(); it != keys.end(); ++it)
            sql += (it == keys.begin() ? "" : ",") + nameColumn(*it);
        sql += " from pdu_names where addr=0";
        LOG_INFO << "sql:" << sql;
        SQLite::Statement query(db, sql);
        if (!query.executeStep())
        {
            LOG_INFO << "query name failed";
            return false;
        }
        names.clear();
        int column = 0;
        for (int key : keys)
        {
            SQLite::Column value = query.getColumn(column++);
            if (value.getType() == SQLite::TEXT)
                names.emplace(key < 0 ? -1 : key, value.getString());
        }
        return true;
    });
}
