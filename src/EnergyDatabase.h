#pragma once
#include <SQLiteCpp/Database.h>

#include <memory>
#include <string>
#include <vector>

#include "DeviceRecords.h"

// The unit's energy accounting in energy.db: per port the running counters
// (table variable) and the energy consumed per hour (table statistics).
// Energies are hundredths of a kWh; port 255 is the inlet. Every operation
// logs a database error at ERROR and returns false.
class EnergyDatabase
{
public:
    static const char* const s_dbName;

    // Ends the process (FATAL) when energy.db is missing or unusable.
    EnergyDatabase();
    ~EnergyDatabase();
    EnergyDatabase(const EnergyDatabase&) = delete;
    EnergyDatabase& operator=(const EnergyDatabase&) = delete;

    // Outputs stay untouched when the port has no row.
    bool loadEnergy(int port, unsigned int& referenceEnergy, unsigned int& realEnergy);
    bool updateEnergy(int port, unsigned int referenceEnergy, unsigned int realEnergy);
    bool loadSaveEnergy(int port, PortEnergy& out);
    // One record per port that has a row; false for an empty list.
    bool loadSaveEnergy(std::vector<int>& ports, std::vector<PortEnergy>& out);
    // Zeroes the running and saved counters of the ports and drops every
    // statistics row; false for an empty list.
    bool clearEnergy(std::vector<int>& ports);
    // Writes the hourly rows and the ports' saved states in one transaction.
    bool recordAndUpdateEnergy(std::vector<PortEnergy>& statistics, std::vector<PortEnergy>& saved);
    // Drops statistics more than 730 days before or after the given hour.
    bool deleteStatisticsOutofRange(int year, int month, int day, int hour);

    // ---- Statistics queries (EnergyDatabaseStatistics.cpp) ------------
    // One series per requested port (outlets ascending, then the inlet),
    // spans values each (hundredths of a kWh; 0xFFFFFFFF: no data), starting
    // at the given local hour. Days and months are counted with timeZone
    // hours added to the stored hours. False on a database error, when no
    // port is selected, or when the request's numbers are out of range.
    static constexpr unsigned int kInvalidEnergy = 0xFFFFFFFFu;
    static constexpr int kMaxSpans = 255;
    bool loadEnergyStatisticsByHour(bool inlet, unsigned long long outletMask, int year, int month, int day,
                                    int hour, int spans, std::vector<std::vector<unsigned int>>& out);
    bool loadEnergyStatisticsByDay(bool inlet, unsigned long long outletMask, int timeZone, int year, int month,
                                   int day, int hour, int spans, std::vector<std::vector<unsigned int>>& out);
    bool loadEnergyStatisticsByMonth(bool inlet, unsigned long long outletMask, int timeZone, int year, int month,
                                     int day, int hour, int spans, std::vector<std::vector<unsigned int>>& out);
    // ---- End of statistics queries ----------------------------------------

    // "year-mm-dd hh:00:00", the form hours are stored in.
    static std::string hourKey(int year, int month, int day, int hour);

private:
    std::unique_ptr<SQLite::Database> db_;
};
