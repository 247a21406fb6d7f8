#include "SettingsTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cerrno>
#include <cstdlib>

#include "DbAccess.h"
#include "muduo/base/Logging.h"

namespace
{
void logInvalid(const std::string& key, const std::string& text)
{
    LOG_WARN << "setting " << key << " is not a valid number: \"" << text << "\"";
}
}

bool SettingsTable::text(const std::string& key, std::string& value) const
{
    SQLite::Statement query(db_, "select value from settings where name = ?");
    query.bind(1, key);
    if (!query.executeStep())
        return false;
    value = query.getColumn(0).getString();
    return true;
}

SettingsTable::Read SettingsTable::integer(const std::string& key, int& value, long min, long max) const
{
    std::string t;
    if (!text(key, t))
        return Read::kMissing;
    if (!parseInteger(t, min, max, value))
    {
        logInvalid(key, t);
        return Read::kInvalid;
    }
    return Read::kOk;
}

SettingsTable::Read SettingsTable::digits(const std::string& key, int& value, long max) const
{
    std::string t;
    if (!text(key, t))
        return Read::kMissing;
    if (!parseDigits(t, max, value))
    {
        logInvalid(key, t);
        return Read::kInvalid;
    }
    return Read::kOk;
}

bool SettingsTable::update(const std::string& key, const std::string& value) const
{
    SQLite::Statement stmt(db_, "update settings set value=? where name=?");
    stmt.bind(1, value);
    stmt.bind(2, key);
    return stmt.exec() > 0;
}

bool SettingsTable::replace(const std::string& key, const std::string& value) const
{
    SQLite::Statement stmt(db_, "replace into settings(name, value) values(?, ?)");
    stmt.bind(1, key);
    stmt.bind(2, value);
    return stmt.exec() > 0;
}

bool SettingsTable::parseInteger(const std::string& text, long min, long max, int& out)
{
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return false;
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < min || v > max)
        return false;
    out = static_cast<int>(v);
    return true;
}

bool SettingsTable::parseDigits(const std::string& text, long max, int& out)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    return parseInteger(text, 0, max, out);
}

bool SettingsTable::loadKey(const char* dbPath, const std::string& key, const char* failText, std::string& value)
{
    return DbAccess::read(dbPath, [&](SQLite::Database& db) {
        if (SettingsTable(db).text(key, value))
            return true;
        LOG_INFO << failText;
        return false;
    });
}

bool SettingsTable::saveKey(const char* dbPath, const std::string& key, const std::string& value,
                            const char* failText)
{
    return DbAccess::write(dbPath, [&](SQLite::Database& db) {
        if (SettingsTable(db).update(key, value))
            return true;
        if (failText)
            LOG_INFO << failText;
        return false;
    });
}
