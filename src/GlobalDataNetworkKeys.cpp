// Network settings one key at a time, and the two NTP servers.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>

#include "DbAccess.h"
#include "GlobalData.h"
#include "SettingsTable.h"
#include "muduo/base/Logging.h"

namespace
{
bool loadText(const char* key, const char* label, const char* failText, std::string& out)
{
    std::string text;
    if (!SettingsTable::loadKey(GlobalData::s_dbName, key, failText, text))
        return false;
    LOG_INFO << label << text;
    out = text;
    return true;
}

// "0" is off, any other text on.
bool loadFlag(const char* key, const char* label, const char* failText, bool& out)
{
    std::string text;
    if (!SettingsTable::loadKey(GlobalData::s_dbName, key, failText, text))
        return false;
    out = text != "0";
    LOG_INFO << label << (out ? "1" : "0");
    return true;
}

bool loadPort(const char* key, const char* label, const char* failText, int& out)
{
    std::string text;
    if (!SettingsTable::loadKey(GlobalData::s_dbName, key, failText, text))
        return false;
    int port = 0;
    if (!SettingsTable::parseDigits(text, INT32_MAX, port))
    {
        LOG_WARN << "setting " << key << " is not a valid number: \"" << text << "\"";
        return false;
    }
    LOG_INFO << label << port;
    out = port;
    return true;
}
}

bool GlobalData::loadGatewayFromDb(std::string& gateway)
{
    return loadText("gateway", "gateway:", "query gateway failed", gateway);
}

bool GlobalData::loadPrimaryDnsFromDb(std::string& dns)
{
    return loadText("dns", "primary dns:", "query primary dns failed", dns);
}

bool GlobalData::loadSecondaryDnsFromDb(std::string& dns)
{
    return loadText("second_dns", "secondary dns:", "query secondary dns failed", dns);
}

bool GlobalData::loadDhcpFromDb(bool& dhcp) { return loadFlag("dhcp", "dhcp:", "query dhcp failed", dhcp); }

bool GlobalData::loadEnableRedirectFromDb(bool& enable)
{
    return loadFlag("enable_redirect", "enable rediect:", "query enable redirect failed", enable);
}

bool GlobalData::loadNetbiosNameFromDb(std::string& name)
{
    return loadText("netbios_name", "netbios name:", "query netbios name failed", name);
}

bool GlobalData::loadHttpPortFromDb(int& port) { return loadPort("http_port", "http port:", "query http port failed", port); }

bool GlobalData::loadHttpsPortFromDb(int& port)
{
    return loadPort("https_port", "https port:", "query https port failed", port);
}

bool GlobalData::loadNtpServerIpFromDb(std::string& first, std::string& second)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        SettingsTable settings(db);
        bool ok = true;
        if (settings.text("ntp_server_ip", first))
        {
            LOG_INFO << "ntp server:" << first;
        }
        else
        {
            LOG_INFO << "query ntp server failed";
            ok = false;
        }
        if (settings.text("second_ntp_server_ip", second))
        {
            LOG_INFO << "second ntp server:" << second;
        }
        else
        {
            LOG_INFO << "query second ntp server failed";
            ok = false;
        }
        return ok;
    });
}

bool GlobalData::saveNetworkIpToDb(const std::string& ip) { return saveSettingValueToDb("ip", ip); }

bool GlobalData::saveNetworkSubmaskToDb(const std::string& mask) { return saveSettingValueToDb("mask", mask); }

bool GlobalData::saveNetworkGatewayToDb(const std::string& gateway) { return saveSettingValueToDb("gateway", gateway); }

bool GlobalData::saveNetworkPrimaryDnsToDb(const std::string& dns) { return saveSettingValueToDb("dns", dns); }

bool GlobalData::saveNetworkSecondaryDnsToDb(const std::string& dns) { return saveSettingValueToDb("second_dns", dns); }

bool GlobalData::saveNetworkNetbiosNameToDb(const std::string& name)
{
    return saveSettingValueToDb("netbios_name", name);
}

bool GlobalData::saveNetworkDhcpToDb(bool dhcp) { return saveSettingValueToDb("dhcp", SettingsTable::flag(dhcp)); }

bool GlobalData::saveNetworkEnableRedirectToDb(bool enable)
{
    return saveSettingValueToDb("enable_redirect", SettingsTable::flag(enable));
}

bool GlobalData::saveNetworkHttpPortToDb(int port) { return saveSettingValueToDb("http_port", std::to_string(port)); }

bool GlobalData::saveNetworkHttpsPortToDb(int port) { return saveSettingValueToDb("https_port", std::to_string(port)); }

bool GlobalData::saveNtpServerIpToDb(const std::string& first, const std::string& second)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        SettingsTable settings(db);
        if (!settings.update("ntp_server_ip", first) || !settings.update("second_ntp_server_ip", second))
            return false;
        transaction.commit();
        return true;
    });
}
