#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DeviceTypes.h"

namespace SQLite
{
class Database;
}

// The process-wide store of the unit's configuration and live state: one
// _Device record, and the only code that reads and writes pdu.db's settings.
// Every load and save opens its own connection for the call. The savers
// write the database only; callers that need a new value at once also
// update the record themselves.
class GlobalData
{
public:
    static constexpr const char* s_dbName = "/var/www/database/pdu.db";
    static constexpr const char* s_defaultDbName = "/var/www/database/pdu_default.db";

    static GlobalData* instance() { return &s_instance; }
    static _Device& getDevice() { return s_instance.device_; }

    // ---- Device record and settings ----------------------------------
    // The start-up load of the whole record.
    static bool loadDeviceParamFromDb();
    static bool loadDeviceParamFromDb(_Device& device);
    // "update" of one key; false when the key has no row.
    static bool saveSettingValueToDb(const std::string& name, const std::string& value);

    // ---- Names (pdu_names, row addr 0) ---------------------------------
    // Key -1 is the device name, k >= 0 outlet k's name.
    static bool loadNamesFromDb(const std::set<int>& keys, std::map<int, std::string>& names);

    // ---- Outlet delays and names (GlobalDataDelays.cpp) -----------------
    // addr is the cascade address, 0 for this unit. Loads leave their output
    // unchanged and return false without a row; saves return false when no
    // row changed. A delay of -1 in a list leaves that column as it is.
    static bool loadOutletOnDelayFromDb(int addr, int port, int& delay);
    static bool loadOutletOffDelayFromDb(int addr, int port, int& delay);
    static bool loadOutletRestartDelayFromDb(int addr, int port, int& delay);
    static bool saveOutletOnDelayToDb(int addr, int port, int delay);
    static bool saveOutletOffDelayToDb(int addr, int port, int delay);
    static bool saveOutletRestartDelayToDb(int addr, int port, int delay);
    static bool savePortDelayToDb(int addr, const std::vector<_DevicePortDelay>& delays);
    static bool loadDeviceNameFromDb(int addr, std::string& name);
    static bool saveDeviceNameToDb(int addr, const std::string& name);
    static bool loadOutletNameFromDb(int addr, int port, std::string& name);
    static bool saveOutletNameToDb(int addr, int port, const std::string& name);
    // Key -1 the device name, k >= 0 outlet k's name; one statement.
    static bool saveNamesToDb(const std::map<int, std::string>& names);
    // ---- End of outlet delays and names ----------------------------------

    // ---- Network block -------------------------------------------------
    static bool loadDeviceNetworkFromDb(SQLite::Database& db, std::vector<_DeviceNetwork>& out);
    static bool loadDeviceNetworkSettingFromDb(_DeviceNetworkSetting& setting);
    static bool loadDeviceNetworkSettingFromDb(std::vector<_DeviceNetwork>& networks);
    static bool saveDeviceNetworkToDb(SQLite::Database& db, const std::vector<_DeviceNetwork>& networks);
    static bool saveDeviceNetworkSettingToDb(const std::vector<_DeviceNetwork>& networks);
    static bool saveDeviceNetworkSettingToDb(const _DeviceNetworkSetting& setting);
    static void stringToNetbiosName(const std::string& text, _NetbiosName& name);

    // ---- Network single keys -------------------------------------------
    static bool loadGatewayFromDb(std::string& gateway);
    static bool loadPrimaryDnsFromDb(std::string& dns);
    static bool loadSecondaryDnsFromDb(std::string& dns);
    static bool loadDhcpFromDb(bool& dhcp);
    static bool loadEnableRedirectFromDb(bool& enable);
    static bool loadNetbiosNameFromDb(std::string& name);
    static bool loadHttpPortFromDb(int& port);
    static bool loadHttpsPortFromDb(int& port);
    static bool loadNtpServerIpFromDb(std::string& first, std::string& second);
    static bool saveNetworkIpToDb(const std::string& ip);
    static bool saveNetworkSubmaskToDb(const std::string& mask);
    static bool saveNetworkGatewayToDb(const std::string& gateway);
    static bool saveNetworkPrimaryDnsToDb(const std::string& dns);
    static bool saveNetworkSecondaryDnsToDb(const std::string& dns);
    static bool saveNetworkNetbiosNameToDb(const std::string& name);
    static bool saveNetworkDhcpToDb(bool dhcp);
    static bool saveNetworkEnableRedirectToDb(bool enable);
    static bool saveNetworkHttpPortToDb(int port);
    static bool saveNetworkHttpsPortToDb(int port);
    static bool saveNtpServerIpToDb(const std::string& first, const std::string& second);

    // ---- Identity (written to pdu.db, then to pdu_default.db) ----------
    static void macToString(const char* mac6, std::string& out);
    static bool stringToMac(const std::string& text, char* mac6);
    static bool loadUidFromDb(char* out16);
    static bool saveUidToDb(const char* uid);
    static bool saveUidExtToDb(const char* uid, const char* deviceName, const char* netbiosName);
    static bool saveMacToDb(const char* mac6);

    // ---- Firmware version, cascade address, front panel ----------------
    static bool loadFwVersionFromDb(std::string& version);
    static bool saveFwVersionToDb(const std::string& version);
    static bool updateAddress(int address);
    static bool loadScreenDirFromDb(bool& normal);
    static bool saveScreenDirToDb(bool normal);
    static bool loadBacklightAutoOffDb(int& minutes);
    static bool updateBacklightAutoOffToDb(int minutes);

    // ---- Scheduled tasks (table tasks) ---------------------------------
    // A repeat mask with no weekday bit (0 to 6) but other bits set is refused.
    static bool addScheduledTaskToDb(int addr, const _DeviceTask& task, int& newId);
    static bool updateScheduledTaskToDb(int addr, const _DeviceTask& task);
    static bool deleteScheduledTaskFromDb(int addr, const std::vector<int>& ids);
    static bool countScheduledTasksInDb(int addr, int& count);
    // Rows whose date or time does not parse are skipped, with a log line at
    // a bounded rate.
    static bool loadAllTasksFromDb(std::vector<_DeviceTask>& tasks);
    static bool loadScheduledTaskFromDb(int id, _DeviceTask& task);
    // Tasks of address 0 between two inclusive bounds, newest first; a bound
    // with any value -1 is not applied.
    static bool loadScheduledTaskFromDb(std::vector<_DeviceTask>& tasks, int startYear, int startMonth, int startDay,
                                        int startHour, int startMinute, int startSecond, int endYear, int endMonth,
                                        int endDay, int endHour, int endMinute, int endSecond);
    // ---- end of scheduled tasks -----------------------------------------

    // ---- Alarm thresholds (table alarms; GlobalDataThresholds.cpp) ------
    // addr is the cascade address, 0 for this unit. Loads leave value
    // unchanged and return false without a row; saves return false when no
    // row changed. Group saves are all-or-nothing.
    static bool loadDeviceCurrentUpperThresholdFromDb(int addr, double& value);
    static bool loadDeviceCurrentLowerThresholdFromDb(int addr, double& value);
    static bool loadDeviceVoltageUpperThresholdFromDb(int addr, double& value);
    static bool loadDeviceVoltageLowerThresholdFromDb(int addr, double& value);
    static bool loadDeviceTempUpperThresholdFromDb(int addr, double& value);
    static bool loadDeviceTempLowerThresholdFromDb(int addr, double& value);
    static bool loadDeviceHumUpperThresholdFromDb(int addr, double& value);
    static bool loadDeviceHumLowerThresholdFromDb(int addr, double& value);
    static bool loadOutletWarnCurrentUpperThresholdFromDb(int addr, int port, double& value);
    static bool loadOutletWarnCurrentLowerThresholdFromDb(int addr, int port, double& value);
    static bool loadOutletFaultCurrentUpperThresholdFromDb(int addr, int port, double& value);
    static bool loadOutletFaultCurrentLowerThresholdFromDb(int addr, int port, double& value);
    static bool saveDeviceCurrentUpperThresholdToDb(int addr, double value);
    static bool saveDeviceCurrentLowerThresholdToDb(int addr, double value);
    static bool saveDeviceVoltageUpperThresholdToDb(int addr, double value);
    static bool saveDeviceVoltageLowerThresholdToDb(int addr, double value);
    static bool saveDeviceTempUpperThresholdToDb(int addr, double value);
    static bool saveDeviceTempLowerThresholdToDb(int addr, double value);
    static bool saveDeviceHumUpperThresholdToDb(int addr, double value);
    static bool saveDeviceHumLowerThresholdToDb(int addr, double value);
    static bool saveOutletWarnCurrentUpperThresholdToDb(int addr, int port, double value);
    static bool saveOutletWarnCurrentLowerThresholdToDb(int addr, int port, double value);
    static bool saveOutletFaultCurrentUpperThresholdToDb(int addr, int port, double value);
    static bool saveOutletFaultCurrentLowerThresholdToDb(int addr, int port, double value);
    // Only the pairs selected by the record's mask.
    static bool saveInputThresholdToDb(int addr, const _DeviceInputThreshold& threshold);
    static bool saveTempHumThresholdToDb(int addr, const _DeviceTempHumiThreshold& threshold);
    // Limits equal to the invalid value 2147483648.0 stay as they are.
    static bool saveOutputThresholdSettingToDb(int addr, const _DeviceOutputThresholdSetting& setting);
    // ---- end of alarm thresholds ----------------------------------------

    // ---- Ping watchdogs (table ping) -----------------------------------
    // Rows with an empty or unparsable address are skipped.
    static bool loadPingSettingFromDb(std::map<int, PingSetting>& settings);
    static bool savePingSettingToDb(const std::map<int, PingSetting>& settings);
    // ---- end of ping watchdogs ------------------------------------------

private:
    // Steps of the start-up load, on its one read-only connection.
    static void loadIdentityStep(SQLite::Database& db, _Device& device);
    static void loadNamesStep(_Device& device);
    static void loadDelaysStep(SQLite::Database& db, _Device& device);
    static void loadOutletLimitsStep(SQLite::Database& db, _Device& device);
    static void loadUnitLimitsStep(SQLite::Database& db, _Device& device);
    static void loadTextsStep(SQLite::Database& db, _Device& device);
    static void loadRoleStep(SQLite::Database& db, _Device& device);
    static void loadSlaveList(const std::string& json, _Device& device);

    // Runs the same statements on pdu.db and then on pdu_default.db.
    template <typename Work>
    static bool writeBothDatabases(Work&& work);

    static GlobalData s_instance;
    _Device device_;
};
