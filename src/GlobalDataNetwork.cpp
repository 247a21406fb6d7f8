// The network block: interface 0's settings and the manage-control port.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <arpa/inet.h>

#include <cctype>
#include <cstring>

#include "DbAccess.h"
#include "GlobalData.h"
#include "SettingsTable.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
const long kMaxPort = 65535;

// A dotted address into host byte order; a missing row leaves the field unset.
void loadAddress(const SettingsTable& settings, const char* key, const char* label, uint32_t& field)
{
    std::string text;
    if (!settings.text(key, text))
        return;
    LOG_INFO << label << text;
    unsigned int network = 0;
    if (Utility::ipStringToNetwork(text, network))
        field = ntohl(network);
    else
        LOG_WARN << "setting " << key << " is not an IPv4 address: \"" << text << "\"";
}

// False when the row holds no valid number; a missing row leaves the field.
template <typename Field>
bool loadNumber(const SettingsTable& settings, const char* key, const char* label, bool digitsOnly, Field& field)
{
    int value = 0;
    SettingsTable::Read r = digitsOnly ? settings.digits(key, value, kMaxPort)
                                       : settings.integer(key, value, INT32_MIN, INT32_MAX);
    if (r == SettingsTable::Read::kInvalid)
        return false;
    if (r == SettingsTable::Read::kOk)
    {
        LOG_INFO << label << value;
        field = static_cast<Field>(digitsOnly ? value : (value != 0 ? 1 : 0));
    }
    return true;
}

std::string addressText(uint32_t hostOrder)
{
    std::string text;
    Utility::ipNetworkToString(htonl(hostOrder), text);
    return text;
}
}

void GlobalData::stringToNetbiosName(const std::string& text, _NetbiosName& name)
{
    std::memset(name.name, 0, sizeof name.name);
    size_t n = text.size() < sizeof name.name ? text.size() : sizeof name.name;
    for (size_t i = 0; i < n; ++i)
    {
        char c = text[i];
        name.name[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    name.length = static_cast<uint8_t>(n);
}

bool GlobalData::loadDeviceNetworkFromDb(SQLite::Database& db, std::vector<_DeviceNetwork>& out)
{
    out.clear();
    SettingsTable settings(db);
    _DeviceNetwork net;
    loadAddress(settings, "ip", "ip:", net.ip);
    loadAddress(settings, "mask", "mask:", net.mask);
    loadAddress(settings, "gateway", "gateway:", net.gateway);
    if (!loadNumber(settings, "dhcp", "dhcp:", false, net.dhcp))
        return false;
    std::string text;
    if (settings.text("mac", text))
    {
        LOG_INFO << "mac:" << text;
        if (!stringToMac(text, net.mac))
            return false;
    }
    if (settings.text("netbios_name", net.netbiosName))
        LOG_INFO << "netbios name:" << net.netbiosName;
    if (!loadNumber(settings, "http_port", "http port:", true, net.httpPort) ||
        !loadNumber(settings, "https_port", "https port:", true, net.httpsPort) ||
        !loadNumber(settings, "enable_redirect", "enable redirect:", false, net.enableRedirect))
        return false;
    out.push_back(net);
    return true;
}

bool GlobalData::loadDeviceNetworkSettingFromDb(std::vector<_DeviceNetwork>& networks)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) { return loadDeviceNetworkFromDb(db, networks); });
}

bool GlobalData::loadDeviceNetworkSettingFromDb(_DeviceNetworkSetting& setting)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        if (!loadDeviceNetworkFromDb(db, setting.networks))
            return false;
        int port = 0;
        if (SettingsTable(db).integer("manage_control_port", port, 1, kMaxPort) == SettingsTable::Read::kOk)
        {
            setting.manageControlPort = static_cast<uint16_t>(port);
        }
        else
        {
            setting.manageControlPort = _DeviceNetworkSetting::kDefaultManageControlPort;
            LOG_INFO << "default manager control port:" << setting.manageControlPort;
        }
        return true;
    });
}

bool GlobalData::saveDeviceNetworkToDb(SQLite::Database& db, const std::vector<_DeviceNetwork>& networks)
{
    if (networks.empty())
        return false;
    const _DeviceNetwork& net = networks.front();
    SettingsTable settings(db);
    std::string mac;
    macToString(net.mac, mac);
    settings.replace("ip", addressText(net.ip));
    settings.replace("mask", addressText(net.mask));
    settings.replace("gateway", addressText(net.gateway));
    settings.replace("dhcp", std::to_string(net.dhcp));
    settings.replace("mac", mac);
    settings.replace("netbios_name", net.netbiosName);
    settings.replace("http_port", std::to_string(net.httpPort));
    settings.replace("https_port", std::to_string(net.httpsPort));
    settings.replace("enable_redirect", std::to_string(net.enableRedirect));
    return true;
}

bool GlobalData::saveDeviceNetworkSettingToDb(const std::vector<_DeviceNetwork>& networks)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        if (!saveDeviceNetworkToDb(db, networks))
            return false;
        transaction.commit();
        return true;
    });
}

bool GlobalData::saveDeviceNetworkSettingToDb(const _DeviceNetworkSetting& setting)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        if (!saveDeviceNetworkToDb(db, setting.networks))
            return false;
        SettingsTable(db).replace("manage_control_port", std::to_string(setting.manageControlPort));
        transaction.commit();
        return true;
    });
}
