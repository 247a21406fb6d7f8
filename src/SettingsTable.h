#pragma once
#include <string>

namespace SQLite
{
class Database;
}

// Typed access to the key/value rows of the settings table on a connection
// the caller opened. Numbers are stored as decimal text; a text that is not
// a valid number reads as kInvalid (logged), never as an exception.
class SettingsTable
{
public:
    enum class Read
    {
        kOk,
        kMissing,
        kInvalid,
    };

    explicit SettingsTable(SQLite::Database& db) : db_(db) {}

    // False when the key has no row.
    bool text(const std::string& key, std::string& value) const;
    // A decimal integer (optional sign) within [min, max].
    Read integer(const std::string& key, int& value, long min, long max) const;
    // Decimal digits only, at most max.
    Read digits(const std::string& key, int& value, long max) const;

    // "update": true when a row changed; a missing key is not created.
    bool update(const std::string& key, const std::string& value) const;
    // "replace into": creates the row when it is missing; true when written.
    bool replace(const std::string& key, const std::string& value) const;

    static bool parseInteger(const std::string& text, long min, long max, int& out);
    static bool parseDigits(const std::string& text, long max, int& out);
    static std::string flag(bool on) { return on ? "1" : "0"; }

    // One key on a read-only connection of its own; a missing row logs
    // failText at INFO. False also after a database error.
    static bool loadKey(const char* dbPath, const std::string& key, const char* failText, std::string& value);
    // One "update" on a read-write connection of its own; false when no row
    // changed (failText logged when given) or after a database error.
    static bool saveKey(const char* dbPath, const std::string& key, const std::string& value,
                        const char* failText = nullptr);

private:
    SQLite::Database& db_;
};
