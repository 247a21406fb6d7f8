// Firmware version, cascade address and the front panel's preferences.
#include <cstdint>

#include "GlobalData.h"
#include "SettingsTable.h"
#include "muduo/base/Logging.h"

bool GlobalData::loadFwVersionFromDb(std::string& version)
{
    std::string text;
    if (!SettingsTable::loadKey(s_dbName, "soft_version", "query soft version failed", text))
        return false;
    LOG_INFO << "soft version:" << text;
    version = text;
    return true;
}

bool GlobalData::saveFwVersionToDb(const std::string& version) { return saveSettingValueToDb("soft_version", version); }

bool GlobalData::updateAddress(int address)
{
    return SettingsTable::saveKey(s_dbName, "slave_address", std::to_string(address), "update slave address failed");
}

bool GlobalData::loadScreenDirFromDb(bool& normal)
{
    std::string text;
    if (!SettingsTable::loadKey(s_dbName, "screen_dir", "query screen dir failed", text))
        return false;
    normal = text != "0";
    LOG_INFO << "screen dir:" << (normal ? "1" : "0");
    return true;
}

bool GlobalData::saveScreenDirToDb(bool normal) { return saveSettingValueToDb("screen_dir", SettingsTable::flag(normal)); }

bool GlobalData::loadBacklightAutoOffDb(int& minutes)
{
    std::string text;
    if (!SettingsTable::loadKey(s_dbName, "backlight_auto_off", "query auto off failed", text))
        return false;
    LOG_INFO << "backlight auto off:" << text;
    int value = 0;
    if (!SettingsTable::parseInteger(text, 0, INT32_MAX, value))
    {
        LOG_WARN << "setting backlight_auto_off is not a valid number: \"" << text << "\"";
        return false;
    }
    minutes = value;
    return true;
}

bool GlobalData::updateBacklightAutoOffToDb(int minutes)
{
    return SettingsTable::saveKey(s_dbName, "backlight_auto_off", std::to_string(minutes), "update auto off failed");
}
