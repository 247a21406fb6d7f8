// Start-up load of the per-outlet delays and of the alarm limits.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdio>

#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace
{
// Outlet numbers from a table row index the 8-slot tables only when they
// name an outlet of this unit that has a slot.
bool hasSlot(const _Device& device, int port) { return port >= 0 && port < device.slotCount(); }

// Reads a pair of nullable columns; the pair counts only when both hold a value.
bool readPair(SQLite::Statement& row, const char* upperColumn, const char* lowerColumn, double& upper,
              double& lower)
{
    SQLite::Column u = row.getColumn(upperColumn);
    SQLite::Column l = row.getColumn(lowerColumn);
    if (!u.isNull())
        upper = u.getDouble();
    if (!l.isNull())
        lower = l.getDouble();
    return !u.isNull() && !l.isNull();
}

std::string maskText(unsigned mask)
{
    char text[8];
    int n = std::snprintf(text, sizeof text, "0x%02X", mask & 0xFFu);
    return n > 0 && n < static_cast<int>(sizeof text) ? std::string(text) : std::string();
}
}

void GlobalData::loadDelaysStep(SQLite::Database& db, _Device& device)
{
    SQLite::Statement query(db, "select * from delays where addr = ?");
    query.bind(1, 0);
    while (query.executeStep())
    {
        int port = query.getColumn("port").getInt();
        if (!hasSlot(device, port))
            continue;
        _DevicePortDelay& delay = device.portDelays[static_cast<size_t>(port)];
        delay.port = port;
        delay.onDelay = query.getColumn("on").getInt();
        delay.offDelay = query.getColumn("off").getInt();
        delay.restartDelay = query.getColumn("restart").getInt();
        LOG_INFO << "port:" << port << ",on:" << delay.onDelay << ",off:" << delay.offDelay
                 << ",restart:" << delay.restartDelay;
    }
}

void GlobalData::loadOutletLimitsStep(SQLite::Database& db, _Device& device)
{
    SQLite::Statement query(db, "select * from alarms where addr = ? and port is not null");
    query.bind(1, 0);
    while (query.executeStep())
    {
        int port = query.getColumn("port").getInt();
        if (!hasSlot(device, port))
            continue;
        _DeviceOutputThreshold& t = device.outputThresholds[static_cast<size_t>(port)];
        t.port = port;
        t.warnUpperCurrent = query.getColumn("current_max").getDouble();
        t.warnLowerCurrent = query.getColumn("current_min").getDouble();
        t.offUpperCurrent = query.getColumn("outage_max").getDouble();
        t.offLowerCurrent = query.getColumn("outage_min").getDouble();
        LOG_INFO << "port:" << port << ",warnLowerCurrent:" << t.warnLowerCurrent
                 << ",warnUpperCurrent:" << t.warnUpperCurrent << ",offLowerCurrent:" << t.offLowerCurrent
                 << ",offUpperCurrent:" << t.offUpperCurrent;
    }
}

void GlobalData::loadUnitLimitsStep(SQLite::Database& db, _Device& device)
{
    SQLite::Statement query(db, "select * from alarms where addr = ? and port is null");
    query.bind(1, 0);
    if (!query.executeStep())
        return;

    _DeviceInputThreshold& in = device.inputThreshold;
    in.mask = 0;
    if (readPair(query, "voltage_max", "voltage_min", in.warnUpperVoltage, in.warnLowerVoltage))
        in.mask |= 0x01;
    if (readPair(query, "current_max", "current_min", in.warnUpperCurrent, in.warnLowerCurrent))
        in.mask |= 0x02;
    if (readPair(query, "outage_max", "outage_min", in.offUpperCurrent, in.offLowerCurrent))
        in.mask |= 0x04;
    LOG_INFO << "input threshold mask:" << maskText(in.mask);

    _DeviceTempHumiThreshold& env = device.tempHumiThreshold;
    env.mask = 0;
    if (readPair(query, "temperature_max", "temperature_min", env.warnUpperTemp, env.warnLowerTemp))
        env.mask |= 0x01;
    if (readPair(query, "humidity_max", "humidity_min", env.warnUpperHumi, env.warnLowerHumi))
        env.mask |= 0x02;
    LOG_INFO << "temp humi threshold mask:" << maskText(env.mask);
}
