#include "GlobalData.h"

#include <SQLiteCpp/Database.h>
#include <arpa/inet.h>

#include <cstdint>

#include "DbAccess.h"
#include "JsonCpp.h"
#include "SettingsTable.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

GlobalData GlobalData::s_instance;

namespace
{
const int kDefaultPortCount = 8;
const int kFirstSlaveAddress = 1;
const int kLastSlaveAddress = 255;
const int kDefaultMaxInputCurrent = 16;
const char* const kDefaultGateway = "192.168.0.1";
}

bool GlobalData::saveSettingValueToDb(const std::string& name, const std::string& value)
{
    return SettingsTable::saveKey(s_dbName, name, value);
}

bool GlobalData::loadDeviceParamFromDb() { return loadDeviceParamFromDb(s_instance.device_); }

bool GlobalData::loadDeviceParamFromDb(_Device& device)
{
    return DbAccess::read(s_dbName, [&](SQLite::Database& db) {
        loadIdentityStep(db, device);
        loadNamesStep(device);
        loadDelaysStep(db, device);
        loadOutletLimitsStep(db, device);
        loadUnitLimitsStep(db, device);
        loadTextsStep(db, device);
        loadRoleStep(db, device);
        return true;
    });
}

void GlobalData::loadIdentityStep(SQLite::Database& db, _Device& device)
{
    SettingsTable settings(db);
    std::string uid;
    if (settings.text("hard_id", uid))
    {
        device.uid = uid;
        LOG_INFO << "UID:" << uid;
        if (!Utility::parseUid(uid, device.portCount, device.maxInputCurrent))
        {
            LOG_INFO << "parse uid error";
            device.portCount = kDefaultPortCount;
            device.maxInputCurrent = kDefaultMaxInputCurrent;
        }
    }
    else
    {
        LOG_INFO << "query uid failed";
        device.portCount = kDefaultPortCount;
        device.maxInputCurrent = kDefaultMaxInputCurrent;
    }
    LOG_INFO << "port num:" << device.portCount << " max input current:" << device.maxInputCurrent;
}

void GlobalData::loadNamesStep(_Device& device)
{
    // Only outlets with a name slot are asked for, however many the identity claims.
    std::set<int> keys{-1};
    for (int port = 0; port < device.slotCount(); ++port)
        keys.insert(port);
    std::map<int, std::string> names;
    if (!loadNamesFromDb(keys, names))
        return;
    for (const auto& entry : names)
    {
        if (entry.first == -1)
        {
            device.deviceName = entry.second;
            LOG_INFO << "device name:" << entry.second;
        }
        else if (entry.first >= 0 && entry.first < device.slotCount())
        {
            device.portNames[static_cast<size_t>(entry.first)] = entry.second;
            LOG_INFO << "port:" << entry.first << " name:" << entry.second;
        }
    }
}

void GlobalData::loadTextsStep(SQLite::Database& db, _Device& device)
{
    SettingsTable settings(db);
    std::string text;
    if (settings.text("language", text))
        device.language = text == "CHS" ? kLanguageChinese : kLanguageEnglish;
    else
    {
        LOG_INFO << "query language failed";
        device.language = kLanguageEnglish;
    }
    LOG_INFO << "language:" << static_cast<int>(device.language);

    if (settings.text("netbios_name", text))
        stringToNetbiosName(text, device.netbiosName);

    std::string gateway = kDefaultGateway;
    settings.text("gateway", gateway);
    LOG_INFO << "gateway:" << gateway;
    unsigned int network = 0;
    if (Utility::ipStringToNetwork(gateway, network))
        device.gateway = ntohl(network);
    else
        LOG_WARN << "setting gateway is not an IPv4 address: \"" << gateway << "\"";

    device.softVersion.clear();
    settings.text("soft_version", device.softVersion);
    device.description.clear();
    settings.text("description", device.description);

    if (settings.text("ntp_server_ip", device.ntpServer))
        LOG_INFO << "ntp server:" << device.ntpServer;
    if (settings.text("second_ntp_server_ip", device.secondNtpServer))
        LOG_INFO << "second ntp server:" << device.secondNtpServer;
}

void GlobalData::loadRoleStep(SQLite::Database& db, _Device& device)
{
    SettingsTable settings(db);
    std::string type;
    if (!settings.text("pdu_type", type))
    {
        device.address = 0;
        device.isMaster = true;
        return;
    }
    LOG_INFO << "pdu type:" << type;
    if (type == "master")
    {
        device.isMaster = true;
        std::string list;
        if (settings.text("slave_addresses", list))
            loadSlaveList(list, device);
    }
    else
    {
        device.isMaster = false;
    }
    int address = 0;
    // A corrupt address counts as a missing one: master with address 0.
    if (settings.integer("slave_address", address, INT32_MIN, INT32_MAX) == SettingsTable::Read::kOk)
    {
        LOG_INFO << "slave address:" << address;
        device.address = address;
    }
    else
    {
        device.address = 0;
        device.isMaster = true;
    }
}

void GlobalData::loadSlaveList(const std::string& json, _Device& device)
{
    Json::JsonCpp parser;
    if (!parser.Parse(json) || !parser.GetDocument().IsArray())
        return;
    int skipped = 0, firstSkipped = 0;
    for (const auto& element : parser.GetDocument().GetArray())
    {
        if (!element.IsObject())
            continue;
        auto addr = element.FindMember("addr");
        if (addr == element.MemberEnd() || !addr->value.IsInt())
            continue;
        int address = addr->value.GetInt();
        // The chain carries a slave's address in one byte; 0 is the master.
        if (address < kFirstSlaveAddress || address > kLastSlaveAddress)
        {
            if (skipped++ == 0)
                firstSkipped = address;
            continue;
        }
        if (device.slaves.count(address))
            continue;
        _SlaveDevice slave;
        slave.address = address;
        device.slaves.emplace(address, std::move(slave));
    }
    if (skipped > 0)
        LOG_WARN << "slave_addresses: " << skipped << " address(es) skipped, not a slave's cascade address ("
                 << kFirstSlaveAddress << " to " << kLastSlaveAddress << "), the first " << firstSkipped;
}
