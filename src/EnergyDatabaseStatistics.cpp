// The energy series read back from the hourly statistics table.
#include <SQLiteCpp/Statement.h>

#include <cstdio>
#include <ctime>
#include <map>

#include "EnergyDatabase.h"
#include "UnitDatabase.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
typedef std::vector<unsigned int> Series;

enum class Grain
{
    kHour,
    kDay,
    kMonth
};

struct Period
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
};

const int kInletPort = 255;
// Years SQLite's date functions and mktime both handle with room for the
// longest monthly range.
const int kMinYear = 1900;
const int kMaxYear = 9000;
// The offset travels as a signed byte.
const int kMinZoneHours = -128;
const int kMaxZoneHours = 127;

// Numbers from a request are checked before any date arithmetic uses them.
bool validRequest(int timeZone, int year, int month, int day, int hour, int spans)
{
    const bool valid = year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
                       day <= Utility::daysInMonth(year, month) && hour >= 0 && hour <= 23 && spans >= 0 &&
                       spans <= EnergyDatabase::kMaxSpans && timeZone >= kMinZoneHours && timeZone <= kMaxZoneHours;
    if (!valid)
        LOG_WARN << "energy statistics request out of range: " << year << "-" << month << "-" << day << " " << hour
                 << "h, spans " << spans << ", zone " << timeZone;
    return valid;
}

// Local calendar fields and seconds; no daylight-saving hint either way.
bool toLocalSeconds(const Period& p, time_t& out)
{
    struct tm t = {};
    t.tm_year = p.year - 1900;
    t.tm_mon = p.month - 1;
    t.tm_mday = p.day;
    t.tm_hour = p.hour;
    t.tm_isdst = -1;
    out = ::mktime(&t);
    return out != static_cast<time_t>(-1);
}

bool fromLocalSeconds(time_t seconds, Period& out)
{
    struct tm t = {};
    if (!::localtime_r(&seconds, &t))
        return false;
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.hour = t.tm_hour;
    return true;
}

std::string keyOf(const Period& p) { return EnergyDatabase::hourKey(p.year, p.month, p.day, p.hour); }

// Past what a 32-bit time_t holds (2038, the unit's C library) the hours are
// stepped on the calendar; no request shifts by more than 256 days.
void shiftedOnCalendar(const Period& from, long long hours, Period& out)
{
    out = from;
    for (long long i = 0; i < hours; ++i)
        Utility::nextHour(out.year, out.month, out.day, out.hour);
    for (long long i = 0; i > hours; --i)
        Utility::prevHour(out.year, out.month, out.day, out.hour);
}

// Shifts are whole hours.
bool shifted(const Period& from, long long seconds, Period& out)
{
    time_t base = 0;
    if (toLocalSeconds(from, base))
    {
        const long long target = static_cast<long long>(base) + seconds;
        if (static_cast<long long>(static_cast<time_t>(target)) == target &&
            fromLocalSeconds(static_cast<time_t>(target), out))
            return true;
    }
    shiftedOnCalendar(from, seconds / 3600, out);
    return true;
}

bool parseKey(Grain grain, const std::string& text, Period& out)
{
    const char* format = grain == Grain::kHour ? "%Y-%m-%d %H:%M:%S" : grain == Grain::kDay ? "%Y-%m-%d" : "%Y-%m";
    struct tm t = {};
    if (!::strptime(text.c_str(), format, &t))
        return false;
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.hour = t.tm_hour;
    return true;
}

// Compares only the fields the grain has.
int compare(Grain grain, const Period& a, const Period& b)
{
    const int fa[] = {a.year, a.month, a.day, a.hour};
    const int fb[] = {b.year, b.month, b.day, b.hour};
    const int fields = grain == Grain::kHour ? 4 : grain == Grain::kDay ? 3 : 2;
    for (int i = 0; i < fields; ++i)
        if (fa[i] != fb[i])
            return fa[i] < fb[i] ? -1 : 1;
    return 0;
}

void advance(Grain grain, Period& p)
{
    if (grain == Grain::kHour)
        Utility::nextHour(p.year, p.month, p.day, p.hour);
    else if (grain == Grain::kDay)
        Utility::nextDay(p.year, p.month, p.day);
    else
        Utility::forwardMonth(p.year, p.month, 1);
}

// One port's series while its rows come in.
struct PortSeries
{
    Series values;
    Period current;
};

// Periods before the row's that had no row get the invalid value. A row
// dated before the current period (only a malformed table has one) is
// dropped rather than spoiling the rest of the series.
void place(Grain grain, PortSeries& s, const Period& key, unsigned int value, int spans, int port)
{
    while (static_cast<int>(s.values.size()) < spans)
    {
        const int order = compare(grain, key, s.current);
        if (order < 0)
        {
            LOG_INFO << "port:" << port << " row out of order, dropped";
            return;
        }
        advance(grain, s.current);
        if (order == 0)
        {
            LOG_INFO << "port:" << port << ",energy:" << value;
            s.values.push_back(value);
            return;
        }
        s.values.push_back(EnergyDatabase::kInvalidEnergy);
    }
}

std::string portList(bool inlet, unsigned long long outletMask)
{
    std::string list = "(";
    if (inlet)
        list += "255,";
    for (int bit = 0; bit < 64; ++bit)
        if (outletMask & (1ULL << bit))
            list += std::to_string(bit) + ",";
    list.back() = ')';
    return list;
}

struct Query
{
    Grain grain;
    Period first;
    std::string start;
    std::string end;
    std::string head;  // up to "where port in "
    std::string keyColumn;
    std::string tail;  // grouping and order
};

void collectRows(SQLite::Database& db, const Query& query, const std::string& ports, int spans,
                 std::map<int, PortSeries>& byPort)
{
    const std::string sql =
        query.head + ports + " and datetime between datetime(?) and datetime(?)" + query.tail;
    LOG_INFO << "sql string:" << sql;
    SQLite::Statement rows(db, sql);
    rows.bind(1, query.start);
    rows.bind(2, query.end);
    while (rows.executeStep())
    {
        const int port = rows.getColumn("port").getInt();
        const std::string text = rows.getColumn(query.keyColumn.c_str()).getString();
        Period key;
        if (!parseKey(query.grain, text, key))
        {
            LOG_INFO << "port:" << port << " bad period:" << text;
            continue;
        }
        auto it = byPort.find(port);
        if (it == byPort.end())
        {
            it = byPort.emplace(port, PortSeries()).first;
            it->second.current = query.first;
        }
        // The table's energy may exceed 32 bits as a sum; its low 32 bits count.
        const auto value = static_cast<unsigned int>(rows.getColumn("energy").getInt64());
        place(query.grain, it->second, key, value, spans, port);
    }
}

void assemble(bool inlet, unsigned long long outletMask, int spans, std::map<int, PortSeries>& byPort,
              std::vector<Series>& out)
{
    const auto size = static_cast<size_t>(spans);
    std::string missing;
    auto take = [&](int port) {
        auto it = byPort.find(port);
        if (it == byPort.end())
        {
            missing += std::to_string(port) + " ";
            out.emplace_back(size, EnergyDatabase::kInvalidEnergy);
            return;
        }
        it->second.values.resize(size, EnergyDatabase::kInvalidEnergy);
        out.push_back(std::move(it->second.values));
    };
    for (int bit = 0; bit < 64; ++bit)
        if (outletMask & (1ULL << bit))
            take(bit);
    if (inlet)
        take(kInletPort);
    LOG_INFO << "port bitmap:" << missing;
}

// The common steps once the periods are known; rows are read only when
// the range holds any period.
bool runQuery(SQLite::Database& db, const Query& query, bool inlet, unsigned long long outletMask, int spans,
              std::vector<Series>& out)
{
    return UnitDatabase::guarded([&] {
        const std::string ports = portList(inlet, outletMask);
        LOG_INFO << "port string:" << ports;
        std::map<int, PortSeries> byPort;
        if (spans > 0)
            collectRows(db, query, ports, spans, byPort);
        assemble(inlet, outletMask, spans, byPort, out);
        return true;
    });
}

// Step 1 and the checks every query shares.
bool begin(std::vector<Series>& out, bool inlet, unsigned long long outletMask, int timeZone, int year, int month,
           int day, int hour, int spans)
{
    std::vector<Series>().swap(out);
    if (!inlet && outletMask == 0)
    {
        LOG_INFO << "no port selected";
        return false;
    }
    return validRequest(timeZone, year, month, day, hour, spans);
}

std::string zoneText(int timeZone)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", timeZone);
    return text;
}
}

bool EnergyDatabase::loadEnergyStatisticsByHour(bool inlet, unsigned long long outletMask, int year, int month,
                                                int day, int hour, int spans, std::vector<Series>& out)
{
    if (!begin(out, inlet, outletMask, 0, year, month, day, hour, spans))
        return false;
    Query query;
    query.grain = Grain::kHour;
    query.first = Period{year, month, day, hour};
    Period last;
    if (!shifted(query.first, (spans - 1) * 3600LL, last))
        return false;
    LOG_INFO << "end year:" << last.year << ",end month:" << last.month << ",end day:" << last.day
             << ",end hour:" << last.hour << ",end min:0,end sec:0";
    query.start = keyOf(query.first);
    query.end = keyOf(last);
    query.head = "select port, energy, datetime from statistics where port in ";
    query.keyColumn = "datetime";
    query.tail = " order by port, datetime asc";
    return runQuery(*db_, query, inlet, outletMask, spans, out);
}

bool EnergyDatabase::loadEnergyStatisticsByDay(bool inlet, unsigned long long outletMask, int timeZone, int year,
                                               int month, int day, int hour, int spans, std::vector<Series>& out)
{
    if (!begin(out, inlet, outletMask, timeZone, year, month, day, hour, spans))
        return false;
    const Period start{year, month, day, hour};
    Query query;
    query.grain = Grain::kDay;
    Period last;
    if (!shifted(start, (spans - 1) * 86400LL + 23 * 3600LL, last) ||
        !shifted(start, timeZone * 3600LL, query.first))
        return false;
    query.start = keyOf(start);
    query.end = keyOf(last);
    LOG_INFO << "start time:" << query.start << " end time:" << query.end;
    LOG_INFO << "new start year:" << query.first.year << ",new start month:" << query.first.month
             << ",new start day:" << query.first.day;
    query.head = "select port, sum(energy) as energy, strftime('%Y-%m-%d', datetime, '" + zoneText(timeZone) +
                 " hour') as date from statistics where port in ";
    query.keyColumn = "date";
    query.tail = " group by port, date order by port, date asc";
    return runQuery(*db_, query, inlet, outletMask, spans, out);
}

bool EnergyDatabase::loadEnergyStatisticsByMonth(bool inlet, unsigned long long outletMask, int timeZone, int year,
                                                 int month, int day, int hour, int spans, std::vector<Series>& out)
{
    if (!begin(out, inlet, outletMask, timeZone, year, month, day, hour, spans))
        return false;
    const Period start{year, month, day, hour};
    Query query;
    query.grain = Grain::kMonth;
    if (!shifted(start, timeZone * 3600LL, query.first))
        return false;
    // With spans 0 no month is asked for: the range stays empty and no row is read.
    Period lastMonth = query.first;
    Utility::forwardMonth(lastMonth.year, lastMonth.month, spans > 0 ? spans - 1 : 0);
    lastMonth.day = Utility::daysInMonth(lastMonth.year, lastMonth.month);
    lastMonth.hour = 23;
    Period last;
    if (!shifted(lastMonth, -timeZone * 3600LL, last))
        return false;
    query.start = keyOf(start);
    query.end = keyOf(last);
    LOG_INFO << "start time:" << query.start << " end time:" << query.end;
    query.head = "select port, sum(energy) as energy, strftime('%Y-%m', datetime, '" + zoneText(timeZone) +
                 " hour') as date from statistics where port in ";
    query.keyColumn = "date";
    query.tail = " group by port, date order by port, date asc";
    return runQuery(*db_, query, inlet, outletMask, spans, out);
}
