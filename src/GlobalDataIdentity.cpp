// The unit's identity: identity text, MAC address and the names the config
// port sets. Each is written to pdu.db and then to the factory copy.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cctype>
#include <cstdint>
#include <cstring>

#include "DbAccess.h"
#include "GlobalData.h"
#include "SettingsTable.h"
#include "muduo/base/Logging.h"

namespace
{
const size_t kUidLength = 16;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A group of letters and digits read as a hexadecimal number up to its first
// non-hexadecimal character; it must begin with a hexadecimal digit.
bool readMacGroup(const std::string& group, char& byte)
{
    if (group.empty() || hexDigit(group[0]) < 0)
        return false;
    for (char c : group)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    // 64 bits wide so that a group longer than 32 bits is seen, not wrapped.
    uint64_t value = 0;
    for (char c : group)
    {
        int d = hexDigit(c);
        if (d < 0)
            break;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFul)
            return false;
    }
    byte = static_cast<char>(value & 0xFF);
    return true;
}

bool replaceChecked(const SettingsTable& settings, const char* key, const std::string& value, const char* failText)
{
    if (settings.replace(key, value))
        return true;
    LOG_INFO << failText;
    return false;
}
}

template <typename Work>
bool GlobalData::writeBothDatabases(Work&& work)
{
    return DbAccess::write(s_dbName, work) && DbAccess::write(s_defaultDbName, work);
}

void GlobalData::macToString(const char* mac6, std::string& out)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < 6; ++i)
    {
        unsigned char b = static_cast<unsigned char>(mac6[i]);
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
        if (i < 5)
            out += ':';
    }
    LOG_INFO << "mac:" << out;
}

bool GlobalData::stringToMac(const std::string& text, char* mac6)
{
    size_t start = 0;
    for (int i = 0; i < 6; ++i)
    {
        size_t end = i < 5 ? text.find(':', start) : text.size();
        if (end == std::string::npos)
            return false;
        if (!readMacGroup(text.substr(start, end - start), mac6[i]))
            return false;
        start = end + 1;
    }
    return true;
}

bool GlobalData::loadUidFromDb(char* out16)
{
    std::string uid;
    if (!SettingsTable::loadKey(s_dbName, "hard_id", "query uid failed", uid))
        return false;
    size_t n = uid.size() < kUidLength ? uid.size() : kUidLength;
    std::memcpy(out16, uid.data(), n);
    std::memset(out16 + n, ' ', kUidLength - n);
    LOG_INFO << "UID:" << uid;
    return true;
}

bool GlobalData::saveUidToDb(const char* uid)
{
    std::string text(uid);
    LOG_INFO << "uid:" << text;
    return writeBothDatabases(
        [&](SQLite::Database& db) { return replaceChecked(SettingsTable(db), "hard_id", text, "save uid failed"); });
}

bool GlobalData::saveMacToDb(const char* mac6)
{
    std::string text;
    macToString(mac6, text);
    return writeBothDatabases(
        [&](SQLite::Database& db) { return replaceChecked(SettingsTable(db), "mac", text, "save mac failed"); });
}

bool GlobalData::saveUidExtToDb(const char* uid, const char* deviceName, const char* netbiosName)
{
    std::string uidText(uid);
    std::string nameText(deviceName);
    std::string netbiosText(netbiosName);
    LOG_INFO << "uid:" << uidText;
    return writeBothDatabases([&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        SettingsTable settings(db);
        if (!replaceChecked(settings, "hard_id", uidText, "save uid failed"))
            return false;
        SQLite::Statement rename(db, "update pdu_names set name=? where addr=0");
        rename.bind(1, nameText);
        if (rename.exec() <= 0)
        {
            LOG_INFO << "save device name failed";
            return false;
        }
        if (!replaceChecked(settings, "netbios_name", netbiosText, "save netbios name failed"))
            return false;
        transaction.commit();
        return true;
    });
}
