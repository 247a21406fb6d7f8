// Alarm limits (table alarms of pdu.db), one connection per call. The unit
// row has port NULL; outlet rows carry the outlet number from 0.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <string>

#include "DbAccess.h"
#include "GlobalData.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
// The first row's only column into value; false without a row.
bool loadLimit(const char* sql, int addr, const int* port, const char* label, const char* failText, double& value)
{
    return DbAccess::read(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement query(db, sql);
        query.bind(1, addr);
        if (port)
            query.bind(2, *port);
        if (!query.executeStep())
        {
            LOG_INFO << failText;
            return false;
        }
        value = query.getColumn(0).getDouble();
        LOG_INFO << label << value;
        return true;
    });
}

bool loadUnitLimit(const char* column, int addr, const char* label, const char* failText, double& value)
{
    const std::string sql = std::string("select ") + column + " from alarms where addr=? and port is null";
    return loadLimit(sql.c_str(), addr, nullptr, label, failText, value);
}

bool loadOutletLimit(const char* column, int addr, int port, const char* label, const char* failText,
                     double& value)
{
    const std::string sql = std::string("select ") + column + " from alarms where addr=? and port=?";
    return loadLimit(sql.c_str(), addr, &port, label, failText, value);
}

bool saveUnitLimit(const char* column, int addr, double value)
{
    return DbAccess::write(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement update(
            db, std::string("update alarms set ") + column + " = ? where addr = ? and port is null");
        update.bind(1, value);
        update.bind(2, addr);
        return update.exec() > 0;
    });
}

bool saveOutletLimit(const char* column, int addr, int port, double value)
{
    return DbAccess::write(GlobalData::s_dbName, [&](SQLite::Database& db) {
        SQLite::Statement update(db, std::string("update alarms set ") + column + "=? where addr=? and port=?");
        update.bind(1, value);
        update.bind(2, addr);
        update.bind(3, port);
        return update.exec() > 0;
    });
}

// One pair of the unit row inside the caller's transaction.
bool updatePair(SQLite::Database& db, const char* sql, double upper, double lower, int addr)
{
    SQLite::Statement update(db, sql);
    update.bind(1, upper);
    update.bind(2, lower);
    update.bind(3, addr);
    return update.exec() > 0;
}
}

bool GlobalData::loadDeviceCurrentUpperThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("current_max", addr, "current upper:", "query current upper failed", value);
}

bool GlobalData::loadDeviceCurrentLowerThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("current_min", addr, "current lower:", "query current lower failed", value);
}

bool GlobalData::loadDeviceVoltageUpperThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("voltage_max", addr, "voltage upper:", "query voltage upper failed", value);
}

bool GlobalData::loadDeviceVoltageLowerThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("voltage_min", addr, "voltage lower:", "query voltage lower failed", value);
}

bool GlobalData::loadDeviceTempUpperThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("temperature_max", addr, "temp upper:", "query temp upper failed", value);
}

bool GlobalData::loadDeviceTempLowerThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("temperature_min", addr, "temp lower:", "query temp lower failed", value);
}

bool GlobalData::loadDeviceHumUpperThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("humidity_max", addr, "hum upper:", "query hum upper failed", value);
}

bool GlobalData::loadDeviceHumLowerThresholdFromDb(int addr, double& value)
{
    return loadUnitLimit("humidity_min", addr, "hum lower:", "query hum lower failed", value);
}

bool GlobalData::loadOutletWarnCurrentUpperThresholdFromDb(int addr, int port, double& value)
{
    return loadOutletLimit("current_max", addr, port, "current upper:", "query current upper failed", value);
}

bool GlobalData::loadOutletWarnCurrentLowerThresholdFromDb(int addr, int port, double& value)
{
    return loadOutletLimit("current_min", addr, port, "current lower:", "query current lower failed", value);
}

bool GlobalData::loadOutletFaultCurrentUpperThresholdFromDb(int addr, int port, double& value)
{
    return loadOutletLimit("outage_max", addr, port, "fault current upper:", "query fault current upper failed",
                           value);
}

bool GlobalData::loadOutletFaultCurrentLowerThresholdFromDb(int addr, int port, double& value)
{
    return loadOutletLimit("outage_min", addr, port, "fault current lower:", "query fault current lower failed",
                           value);
}

bool GlobalData::saveDeviceCurrentUpperThresholdToDb(int addr, double value)
{
    return saveUnitLimit("current_max", addr, value);
}

bool GlobalData::saveDeviceCurrentLowerThresholdToDb(int addr, double value)
{
    return saveUnitLimit("current_min", addr, value);
}

bool GlobalData::saveDeviceVoltageUpperThresholdToDb(int addr, double value)
{
    return saveUnitLimit("voltage_max", addr, value);
}

bool GlobalData::saveDeviceVoltageLowerThresholdToDb(int addr, double value)
{
    return saveUnitLimit("voltage_min", addr, value);
}

bool GlobalData::saveDeviceTempUpperThresholdToDb(int addr, double value)
{
    return saveUnitLimit("temperature_max", addr, value);
}

bool GlobalData::saveDeviceTempLowerThresholdToDb(int addr, double value)
{
    return saveUnitLimit("temperature_min", addr, value);
}

bool GlobalData::saveDeviceHumUpperThresholdToDb(int addr, double value)
{
    return saveUnitLimit("humidity_max", addr, value);
}

bool GlobalData::saveDeviceHumLowerThresholdToDb(int addr, double value)
{
    return saveUnitLimit("humidity_min", addr, value);
}

bool GlobalData::saveOutletWarnCurrentUpperThresholdToDb(int addr, int port, double value)
{
    return saveOutletLimit("current_max", addr, port, value);
}

bool GlobalData::saveOutletWarnCurrentLowerThresholdToDb(int addr, int port, double value)
{
    return saveOutletLimit("current_min", addr, port, value);
}

bool GlobalData::saveOutletFaultCurrentUpperThresholdToDb(int addr, int port, double value)
{
    return saveOutletLimit("outage_max", addr, port, value);
}

bool GlobalData::saveOutletFaultCurrentLowerThresholdToDb(int addr, int port, double value)
{
    return saveOutletLimit("outage_min", addr, port, value);
}

bool GlobalData::saveInputThresholdToDb(int addr, const _DeviceInputThreshold& t)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        if (t.mask & 0x01)
        {
            LOG_INFO << "warnUpperVoltage:" << t.warnUpperVoltage;
            LOG_INFO << "warnLowerVoltage:" << t.warnLowerVoltage;
            if (!updatePair(db, "update alarms set voltage_max=?,voltage_min=? where addr=? and port is null",
                            t.warnUpperVoltage, t.warnLowerVoltage, addr))
                return false;
        }
        if (t.mask & 0x02)
        {
            LOG_INFO << "warnUpperCurrent:" << t.warnUpperCurrent;
            LOG_INFO << "warnLowerCurrent:" << t.warnLowerCurrent;
            if (!updatePair(db, "update alarms set current_max=?,current_min=? where addr=? and port is null",
                            t.warnUpperCurrent, t.warnLowerCurrent, addr))
                return false;
        }
        if (t.mask & 0x04)
        {
            LOG_INFO << "offUpperCurrent:" << t.offUpperCurrent;
            LOG_INFO << "offLowerCurrent:" << t.offLowerCurrent;
            if (!updatePair(db, "update alarms set outage_max=?,outage_min=? where addr=? and port is null",
                            t.offUpperCurrent, t.offLowerCurrent, addr))
                return false;
        }
        transaction.commit();
        return true;
    });
}

bool GlobalData::saveTempHumThresholdToDb(int addr, const _DeviceTempHumiThreshold& t)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        if ((t.mask & 0x01) &&
            !updatePair(db,
                        "update alarms set temperature_max = ?, temperature_min = ? where addr = ? and port is null",
                        t.warnUpperTemp, t.warnLowerTemp, addr))
            return false;
        if ((t.mask & 0x02) &&
            !updatePair(db, "update alarms set humidity_max = ?, humidity_min = ? where addr = ? and port is null",
                        t.warnUpperHumi, t.warnLowerHumi, addr))
            return false;
        transaction.commit();
        return true;
    });
}

bool GlobalData::saveOutputThresholdSettingToDb(int addr, const _DeviceOutputThresholdSetting& setting)
{
    return DbAccess::write(s_dbName, [&](SQLite::Database& db) {
        SQLite::Transaction transaction(db);
        for (const _DeviceOutputThreshold& entry : setting.thresholds)
        {
            const std::pair<const char*, double> limits[] = {{"current_max=?,", entry.warnUpperCurrent},
                                                             {"current_min=?,", entry.warnLowerCurrent},
                                                             {"outage_max=?,", entry.offUpperCurrent},
                                                             {"outage_min=?,", entry.offLowerCurrent}};
            std::string sql = "update alarms set ";
            for (const auto& limit : limits)
                if (!Utility::isInvalidDoubleValue(limit.second))
                    sql += limit.first;
            if (sql.back() != ',')
                continue;  // nothing to change for this outlet
            sql.pop_back();
            sql += " where addr=? and port=?";
            LOG_INFO << "strSql:" << sql;
            SQLite::Statement update(db, sql);
            int parameter = 1;
            for (const auto& limit : limits)
                if (!Utility::isInvalidDoubleValue(limit.second))
                    update.bind(parameter++, limit.second);
            update.bind(parameter++, addr);
            update.bind(parameter, entry.port);
            if (update.exec() == 0)
            {
                LOG_INFO << "save output threshold setting failed";
                return false;  // the transaction rolls back the whole list
            }
        }
        transaction.commit();
        return true;
    });
}
