// Outlet delays (table delays) and the device and outlet names (table
// pdu_names) of pdu.db, one connection per call.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include "DbAccess.h"
#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace
{
const int kUnchanged = -1;

// "on" is an SQL keyword, hence the quotes.
const char* const kOnColumn = "\"on\"";

std::string outletColumn(int port) { return "port_" + std::to_string(port); }

bool loadDelay(const char* column, const char* noRowText, int addr, int port, int& delay)
{
    return DbAccess::read(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, std::string("select ") + column + " from delays where addr=? and port=?");
        query.bind(1, addr);
        query.bind(2, port);
        if (!query.executeStep())
        {
            LOG_INFO << noRowText;
            return false;
        }
        delay = query.getColumn(0).getInt();
        LOG_INFO << "outlet port:" << port << ",delay:" << delay;
        return true;
    });
}

bool saveDelay(const char* column, int addr, int port, int delay)
{
    return DbAccess::write(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement update(db, std::string("update delays set ") + column + "=? where addr=? and port=?");
        update.bind(1, delay);
        update.bind(2, addr);
        update.bind(3, port);
        if (update.exec() == 0)
        {
            LOG_INFO << "save port delay failed";
            return false;
        }
        return true;
    });
}

// Text of the first row's only column into name; false without a row.
bool loadName(const std::string& sql, int addr, const char* successText, const char* failureText,
              std::string& name)
{
    return DbAccess::read(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, sql);
        query.bind(1, addr);
        if (!query.executeStep())
        {
            LOG_INFO << failureText;
            return false;
        }
        name = query.getColumn(0).getString();
        LOG_INFO << successText << name;
        return true;
    });
}

bool saveName(const std::string& sql, int addr, const std::string& name, const char* failureText)
{
    return DbAccess::write(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement update(db, sql);
        update.bind(1, name);
        update.bind(2, addr);
        if (update.exec() == 0)
        {
            LOG_INFO << failureText;
            return false;
        }
        return true;
    });
}
}

bool GlobalData::loadOutletOnDelayFromDb(int addr, int port, int& delay)
{
    return loadDelay(kOnColumn, "query outlet on delay failed", addr, port, delay);
}

bool GlobalData::loadOutletOffDelayFromDb(int addr, int port, int& delay)
{
    return loadDelay("off", "query outlet off delay failed", addr, port, delay);
}

bool GlobalData::loadOutletRestartDelayFromDb(int addr, int port, int& delay)
{
    return loadDelay("restart", "query outlet restart delay failed", addr, port, delay);
}

bool GlobalData::saveOutletOnDelayToDb(int addr, int port, int delay) { return saveDelay(kOnColumn, addr, port, delay); }

bool GlobalData::saveOutletOffDelayToDb(int addr, int port, int delay) { return saveDelay("off", addr, port, delay); }

bool GlobalData::saveOutletRestartDelayToDb(int addr, int port, int delay)
{
    return saveDelay("restart", addr, port, delay);
}

bool GlobalData::savePortDelayToDb(int addr, const std::vector<_DevicePortDelay>& delays)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        for (const _DevicePortDelay& entry : delays)
        {
            const std::pair<const char*, int> columns[] = {
                {kOnColumn, entry.onDelay}, {"off", entry.offDelay}, {"restart", entry.restartDelay}};
            std::string sql = "update delays set ";
            for (const auto& column : columns)
                if (column.second != kUnchanged)
                    sql += std::string(column.first) + "=?,";
            if (sql.back() != ',')
                continue;  // nothing to change for this outlet
            sql.back() = ' ';
            sql += "where addr=? and port=?";
            LOG_INFO << sql;
            SQLite::Statement update(db, sql);
            int parameter = 1;
            for (const auto& column : columns)
                if (column.second != kUnchanged)
                    update.bind(parameter++, column.second);
            update.bind(parameter++, addr);
            update.bind(parameter, entry.port);
            if (update.exec() == 0)
            {
                LOG_INFO << "save port delay failed";
                return false;  // the transaction rolls back the whole list
            }
        }
        transaction.commit();
        return true;
    });
}

bool GlobalData::loadDeviceNameFromDb(int addr, std::string& name)
{
    return loadName("select name from pdu_names where addr=?", addr, "device name:", "query device name failed", name);
}

bool GlobalData::saveDeviceNameToDb(int addr, const std::string& name)
{
    LOG_INFO << "name:" << name;
    return saveName("update pdu_names set name = ? where addr = ?", addr, name, "save device name failed");
}

bool GlobalData::loadOutletNameFromDb(int addr, int port, std::string& name)
{
    return loadName("select " + outletColumn(port) + " from pdu_names where addr=?", addr, "outlet name:",
                    "query outlet name failed", name);
}

bool GlobalData::saveOutletNameToDb(int addr, int port, const std::string& name)
{
    return saveName("update pdu_names set " + outletColumn(port) + " =? where addr=?", addr, name,
                    "save outlet name failed");
}

bool GlobalData::saveNamesToDb(const std::map<int, std::string>& names)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        std::string sql = "update pdu_names set ";
        for (auto it = names.begin(); it != names.end(); ++it)
            sql += (it == names.begin() ? "" : ",") + (it->first == -1 ? std::string("name") : outletColumn(it->first)) +
                   "=?";
        sql += " where addr=0";
        LOG_INFO << "sql:" << sql;
        SQLite::Statement update(db, sql);
        int parameter = 1;
        for (const auto& entry : names)
            update.bind(parameter++, entry.second);
        if (update.exec() == 0)
        {
            LOG_INFO << "save names failed";
            return false;
        }
        return true;
    });
}
