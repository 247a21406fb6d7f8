// Energy-statistics requests with arbitrary numbers (as a wire delivers
// them) over a table that also holds an arbitrary period text.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EnergyDatabase.h"
#include "FuzzDatabases.h"

namespace
{
EnergyDatabase& database()
{
    static std::unique_ptr<EnergyDatabase> db = [] {
        fuzz::useBoardRoot();
        fuzz::fastDatabases();
        fuzz::makeBoardDir("/var/www/database");
        SQLite::Database file(board::path(EnergyDatabase::s_dbName), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        file.exec("create table if not exists variable(port integer primary key, reference_energy integer, "
                  "real_energy integer, save_energy integer, save_datetime text)");
        file.exec("create table if not exists statistics(port integer, energy integer, datetime text, "
                  "primary key(port, datetime))");
        file.exec("replace into statistics values(0, 5, '2024-05-01 10:00:00'), (255, 9, '2024-05-01 11:00:00'),"
                  "(1, 4294967295, '2024-02-29 23:00:00'), (1, 4294967295, '2024-03-01 00:00:00')");
        return std::unique_ptr<EnergyDatabase>(new EnergyDatabase);
    }();
    return *db;
}

int32_t take32(const uint8_t*& data, size_t& size)
{
    uint32_t v = 0;
    for (int i = 0; i < 4 && size > 0; ++i, ++data, --size)
        v = (v << 8) | *data;
    return static_cast<int32_t>(v);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnergyDatabase& db = database();
    const bool inlet = size > 0 && (data[0] & 1);
    const uint64_t mask = (static_cast<uint64_t>(static_cast<uint32_t>(take32(data, size))) << 32) |
                          static_cast<uint32_t>(take32(data, size));
    // Small numbers are the interesting ones; the top byte widens the range.
    const int32_t year = take32(data, size);
    const int32_t month = take32(data, size);
    const int32_t day = take32(data, size);
    const int32_t hour = take32(data, size);
    const int32_t spans = take32(data, size);
    const int32_t zone = take32(data, size);

    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        SQLite::Database file(board::path(EnergyDatabase::s_dbName), SQLite::OPEN_READWRITE);
        file.exec("delete from statistics where port = 2");
        SQLite::Statement insert(file, "insert into statistics values(2, 1, ?)");
        insert.bind(1, text);
        insert.exec();
    }

    std::vector<std::vector<unsigned int>> out;
    db.loadEnergyStatisticsByHour(inlet, mask | 4, year, month, day, hour, spans, out);
    db.loadEnergyStatisticsByDay(inlet, mask, zone, year, month, day, hour, spans, out);
    db.loadEnergyStatisticsByMonth(inlet, mask, zone, year, month, day, hour, spans, out);
    db.loadEnergyStatisticsByDay(inlet, 7, zone % 24, 2024, 2, 28, 23, spans & 0xFF, out);
    db.loadEnergyStatisticsByMonth(true, 7, zone % 24, 2024, 1, 1, 0, spans & 0xFF, out);
    return 0;
}
