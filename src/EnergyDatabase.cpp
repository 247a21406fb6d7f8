#include "EnergyDatabase.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cstdio>
#include <ctime>

#include "UnitDatabase.h"
#include "muduo/base/Logging.h"

const char* const EnergyDatabase::s_dbName = "/var/www/database/energy.db";

namespace
{
// Empty (or null) text: never saved, all time fields -1.
void parseSaveTime(const std::string& text, PortEnergy& out)
{
    out.year = out.month = out.day = out.hour = -1;
    if (text.empty())
        return;
    struct tm t = {};
    if (!::strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &t))
    {
        LOG_INFO << "bad save time:" << text;
        return;
    }
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.hour = t.tm_hour;
}
}

EnergyDatabase::EnergyDatabase()
    : db_(UnitDatabase::openOrDie(s_dbName,
                                  {"select port, reference_energy, real_energy, save_energy, save_datetime from variable",
                                   "select port, energy, datetime from statistics"}))
{
}

EnergyDatabase::~EnergyDatabase() = default;

std::string EnergyDatabase::hourKey(int year, int month, int day, int hour)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:00:00", year, month, day, hour);
    return buf;
}

bool EnergyDatabase::loadEnergy(int port, unsigned int& referenceEnergy, unsigned int& realEnergy)
{
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, "select reference_energy, real_energy from variable where port = ?");
        q.bind(1, port);
        if (q.executeStep())
        {
            referenceEnergy = q.getColumn(0).getUInt();
            realEnergy = q.getColumn(1).getUInt();
        }
        return true;
    });
}

bool EnergyDatabase::updateEnergy(int port, unsigned int referenceEnergy, unsigned int realEnergy)
{
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, "update variable set reference_energy=?,real_energy=? where port=?");
        q.bind(1, referenceEnergy);
        q.bind(2, realEnergy);
        q.bind(3, port);
        q.exec();
        return true;
    });
}

bool EnergyDatabase::loadSaveEnergy(int port, PortEnergy& out)
{
    return UnitDatabase::guarded([&] {
        SQLite::Statement q(*db_, "select save_energy, save_datetime from variable where port = ?");
        q.bind(1, port);
        if (q.executeStep())
        {
            out.port = port;
            out.saveEnergy = q.getColumn(0).getUInt();
            parseSaveTime(q.getColumn(1).getString(), out);
        }
        return true;
    });
}

bool EnergyDatabase::loadSaveEnergy(std::vector<int>& ports, std::vector<PortEnergy>& out)
{
    if (ports.empty())
        return false;
    std::string list = "(";
    for (int port : ports)
        list += std::to_string(port) + ",";
    list.back() = ')';
    out.clear();
    return UnitDatabase::guarded([&] {
        const std::string sql = "select port, save_energy, save_datetime from variable where port in " + list;
        LOG_INFO << "sql:" << sql;
        SQLite::Statement q(*db_, sql);
        while (q.executeStep())
        {
            PortEnergy e;
            e.port = q.getColumn("port").getInt();
            e.saveEnergy = q.getColumn("save_energy").getUInt();
            const std::string time = q.getColumn("save_datetime").getString();
            parseSaveTime(time, e);
            LOG_INFO << "port:" << e.port << " energy:" << e.saveEnergy << " time:" << time;
            out.push_back(e);
        }
        return true;
    });
}

bool EnergyDatabase::clearEnergy(std::vector<int>& ports)
{
    if (ports.empty())
        return false;
    return UnitDatabase::guarded([&] {
        SQLite::Transaction transaction(*db_);
        for (int port : ports)
        {
            LOG_INFO << "clear energy port:" << port;
            SQLite::Statement q(*db_, "update variable set real_energy=?,save_energy=? where port=?");
            q.bind(1, 0);
            q.bind(2, 0);
            q.bind(3, port);
            q.exec();
        }
        db_->exec("delete from statistics");
        transaction.commit();
        return true;
    });
}

bool EnergyDatabase::recordAndUpdateEnergy(std::vector<PortEnergy>& statistics, std::vector<PortEnergy>& saved)
{
    return UnitDatabase::guarded([&] {
        SQLite::Transaction transaction(*db_);
        for (const PortEnergy& s : statistics)
        {
            SQLite::Statement q(*db_, "replace into statistics values(?, ?, datetime(?))");
            q.bind(1, s.port);
            q.bind(2, s.saveEnergy);
            q.bind(3, hourKey(s.year, s.month, s.day, s.hour));
            q.exec();
        }
        // An update, not a replace: the row's running counters must survive.
        for (const PortEnergy& s : saved)
        {
            SQLite::Statement q(*db_, "update variable set save_energy=?,save_datetime=datetime(?) where port=?");
            q.bind(1, s.saveEnergy);
            q.bind(2, hourKey(s.year, s.month, s.day, s.hour));
            q.bind(3, s.port);
            q.exec();
        }
        transaction.commit();
        return true;
    });
}

bool EnergyDatabase::deleteStatisticsOutofRange(int year, int month, int day, int hour)
{
    const std::string t = hourKey(year, month, day, hour);
    return UnitDatabase::guarded([&] {
        SQLite::Transaction transaction(*db_);
        db_->exec("delete from statistics where datetime < datetime('" + t + "','-730 day') or datetime > datetime('" +
                  t + "','+730 day')");
        transaction.commit();
        return true;
    });
}
