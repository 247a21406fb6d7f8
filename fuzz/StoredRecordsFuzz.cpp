// What the daemon reads back from its own databases, which an upload or a
// technician can replace: each input puts rows of any value and type into
// the tables of a factory set (settings, limits, delays, ping, tasks, names,
// mail, event log, outlet states, energy counters), then starts the unit on
// them as the server does (the device record's load steps, every loader,
// energy restore and recording, scheduled and ping tasks, outlet restore, an
// alarm mail) and lets the query commands write what was loaded.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Email.h"
#include "EnergyDatabase.h"
#include "GlobalData.h"
#include "PingTaskContainer.h"
#include "PortStatusManager.h"
#include "PowerModuleContainer.h"
#include "ScheduledTaskContainer.h"
#include "SeededBoard.h"
#include "StoredRow.h"
#include "SystemLog.h"
#include "snmp/processor/SnmpProcessor.h"
#include "snmp/processor/SnmpProcessorFactory.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebProcessor.h"
#include "web/web_processor/WebProcessorFactory.h"

namespace
{
const char* const kPdu = "pdu.db";
const char* const kOutlet = "outlet.db";
const char* const kEnergy = "energy.db";

struct Table
{
    const char* file;
    const char* name;
    std::vector<const char*> columns;
};

const Table kTables[] = {
    {kPdu, "settings", {"name", "value"}},
    {kPdu, "alarms", {"addr", "port", "voltage_max", "voltage_min", "current_max", "current_min", "outage_max",
                      "outage_min", "temperature_max", "temperature_min", "humidity_max", "humidity_min"}},
    {kPdu, "delays", {"addr", "port", "\"on\"", "off", "restart"}},
    {kPdu, "ping", {"addr", "port", "ip", "timeout", "interval", "action", "enabled"}},
    {kPdu, "tasks", {"id", "addr", "ports", "action", "date", "time", "repeat", "remark"}},
    {kPdu, "pdu_names",
     {"addr", "name", "port_0", "port_1", "port_2", "port_3", "port_4", "port_5", "port_6", "port_7"}},
    {kPdu, "email_settings", {"id", "status", "host", "port", "username", "password", "address"}},
    {kPdu, "email_receivers", {"id", "status", "name", "email"}},
    {kPdu, "system_logs", {"id", "type", "content", "is_read", "datetime"}},
    {kOutlet, "status", {"port", "on_off"}},
    {kEnergy, "variable", {"port", "reference_energy", "real_energy", "save_energy", "save_datetime"}},
};
const size_t kTableCount = sizeof kTables / sizeof kTables[0];

std::string livePath(const char* file) { return board::path(std::string("/var/www/database/") + file); }
std::string factoryPath(const char* file) { return board::path(std::string("/var/www/factory/") + file); }

// Every fuzzed table back to its factory rows, one transaction per file.
void restoreFactoryRows()
{
    for (const char* file : {kPdu, kOutlet, kEnergy})
    {
        SQLite::Database db(livePath(file), SQLite::OPEN_READWRITE);
        db.exec("attach '" + factoryPath(file) + "' as factory");
        std::string sql = "begin;";
        for (const Table& table : kTables)
            if (table.file == file)
                sql += std::string("delete from ") + table.name + "; insert into " + table.name +
                       " select * from factory." + table.name + ";";
        db.exec(sql + "commit");
        db.exec("detach factory");
    }
}

// Rows from the input: a byte picks the table, then one value per column.
void writeRows(fuzz::StoredRow& input)
{
    SQLite::Database pdu(livePath(kPdu), SQLite::OPEN_READWRITE);
    SQLite::Database outlet(livePath(kOutlet), SQLite::OPEN_READWRITE);
    SQLite::Database energy(livePath(kEnergy), SQLite::OPEN_READWRITE);
    while (!input.empty())
    {
        const Table& table = kTables[input.byte() % kTableCount];
        std::string columns, marks;
        for (const char* column : table.columns)
        {
            columns += std::string(columns.empty() ? "" : ",") + column;
            marks += marks.empty() ? "?" : ",?";
        }
        SQLite::Database& db = table.file == kPdu ? pdu : table.file == kOutlet ? outlet : energy;
        SQLite::Statement insert(db, std::string("insert or replace into ") + table.name + "(" + columns +
                                         ") values(" + marks + ")");
        for (int i = 1; i <= static_cast<int>(table.columns.size()); ++i)
        {
            if (i == 1 && std::strcmp(table.name, "settings") == 0)
                insert.bind(i, input.settingKey());
            else
                input.bindNext(insert, i);
        }
        try
        {
            insert.exec();
        }
        catch (const SQLite::Exception&)
        {
            // A row the schema refuses (NOT NULL) is no row.
        }
    }
}

// Every loader of pdu.db beside the record's load steps; the per-outlet
// ones for one outlet (-1 the unit, 8 one past the slots).
void loadSettings(int port)
{
    std::string text, second;
    int number = 0;
    bool flag = false;
    char uid[17] = {};
    _DeviceNetworkSetting network;
    GlobalData::loadDeviceNetworkSettingFromDb(network);
    GlobalData::loadGatewayFromDb(text);
    GlobalData::loadPrimaryDnsFromDb(text);
    GlobalData::loadSecondaryDnsFromDb(text);
    GlobalData::loadDhcpFromDb(flag);
    GlobalData::loadEnableRedirectFromDb(flag);
    GlobalData::loadNetbiosNameFromDb(text);
    GlobalData::loadHttpPortFromDb(number);
    GlobalData::loadHttpsPortFromDb(number);
    GlobalData::loadNtpServerIpFromDb(text, second);
    GlobalData::loadFwVersionFromDb(text);
    GlobalData::loadUidFromDb(uid);
    GlobalData::loadScreenDirFromDb(flag);
    GlobalData::loadBacklightAutoOffDb(number);
    double limit = 0;
    GlobalData::loadOutletOnDelayFromDb(0, port, number);
    GlobalData::loadOutletNameFromDb(0, port, text);
    GlobalData::loadOutletWarnCurrentUpperThresholdFromDb(0, port, limit);
    GlobalData::loadOutletFaultCurrentLowerThresholdFromDb(0, port, limit);
    std::vector<_SystemLogItem> logs;
    SystemLog::instance()->loadSystemLogsFromDb(0, 2000, 1, 1, 2100, 1, 1, logs);
}

// The server's start-up on what was stored: energy counters, tasks, ping
// watchdogs and outlet states, each on modules of this input alone.
void startUp(fuzz::SeededBoard& board)
{
    _Device& device = GlobalData::getDevice();
    for (int port = 0; port < device.slotCount(); ++port)
        board.energy->loadEnergy(port, device.energy[port].referenceEnergy, device.energy[port].realEnergy);
    _DeviceEnergy& inlet = device.energy[_Device::kInletEnergyIndex];
    board.energy->loadEnergy(255, inlet.referenceEnergy, inlet.realEnergy);
    board.recorder->recordOnStartup();

    ScheduledTaskContainer tasks(board.loop());
    std::vector<_DeviceTask> stored;
    if (GlobalData::loadAllTasksFromDb(stored))
        for (const _DeviceTask& task : stored)
        {
            tasks.addScheduledTask(task);
            tasks.start(task.id);
            _DeviceTask again;
            GlobalData::loadScheduledTaskFromDb(task.id, again);
        }
    stored.clear();
    GlobalData::loadScheduledTaskFromDb(stored, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);

    PingTaskContainer pings(board.loop(), 3);
    if (GlobalData::loadPingSettingFromDb(device.pingSettings))
        for (const auto& entry : device.pingSettings)
            if (entry.second.port < device.portCount && entry.second.enabled)
                pings.addPingTask(entry.second, true);

    PortStatusManager outlets(std::make_shared<PowerModuleContainer>(board.loop()));
    outlets.start();
    unsigned int mask = 0;
    PortDatabase().loadPortsStatus(0, 31, mask);

    Email::sendTempUpperLimitEmail();
}

template <class Processor>
void checkAnswer(Processor& processor)
{
    std::string answer;
    processor.process(answer);
    rapidjson::Document written;
    if (written.Parse(answer.c_str(), answer.size()).HasParseError() || !written.IsObject())
        __builtin_trap();
}

// The queries that write what was loaded: web and SNMP.
void query(web::WebProcessorFactory& web, snmp::SnmpProcessorFactory& snmp)
{
    static const char* const kWeb[] = {
        R"({"request":1,"content":{}})", R"({"request":22,"content":{}})", R"({"request":23,"content":{}})",
        R"({"request":24,"content":{}})", R"({"request":25,"content":{}})",
        R"({"request":26,"content":{}})", R"({"request":31,"content":{"device":true,"ports":[0,1,2,3,4,5,6,7]}})",
        R"({"request":38,"content":{"ports":[0,1,2,3,4,5,6,7]}})", R"({"request":39,"content":{}})",
        R"({"request":3,"content":{"query":[{"addr":0,"on_off":true,"temp_hum":true,"input":true,"output":[0,1,7]}]}})"};
    for (const char* request : kWeb)
    {
        std::shared_ptr<web::WebProcessor> processor;
        if (web.parseWebProcessor(request, processor) == 1)
            checkAnswer(*processor);
    }
    for (int code : {1, 3, 5, 9})
    {
        const std::string request = R"({"request":)" + std::to_string(code) +
                                    R"(,"content":{"item":0,"port":0,"lead":1,"outlet_config":{"port":0}}})";
        if (const std::shared_ptr<snmp::SnmpProcessor> processor = snmp.parseSnmpProcessor(request))
            checkAnswer(*processor);
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SeededBoard* board = [] {
        auto* made = new fuzz::SeededBoard;
        fuzz::makeBoardDir("/var/www/factory");
        for (const char* file : {kPdu, kOutlet, kEnergy})
            std::filesystem::copy_file(livePath(file), factoryPath(file),
                                       std::filesystem::copy_options::overwrite_existing);
        return made;
    }();
    static web::WebProcessorFactory* web = new web::WebProcessorFactory(web::WebModules(
        board->outlets, board->tasks, board->pings, board->ntp, board->energy.get(), board->recorder));
    static snmp::SnmpProcessorFactory* snmp = new snmp::SnmpProcessorFactory(board->outlets);

    // Byte 0 picks what runs beside the record's load (each step opens its
    // own connections, which is most of an input's time) and the outlet of
    // the single loaders; the rest are rows.
    if (size == 0)
        return 0;
    const uint8_t steps = data[0];
    restoreFactoryRows();
    fuzz::StoredRow input(data + 1, size - 1);
    writeRows(input);

    GlobalData::getDevice() = _Device();
    GlobalData::loadDeviceParamFromDb();
    if (steps & 1)
        loadSettings(steps % 10 - 1);
    if (steps & 2)
        startUp(*board);
    if (steps & 4)
        query(*web, *snmp);
    return 0;
}
