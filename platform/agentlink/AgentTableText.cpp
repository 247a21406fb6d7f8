#include "AgentTableText.h"

#include <algorithm>
#include <cstdio>

#include "AgentLinkLayout.h"

namespace agentlink
{
namespace
{
constexpr int32_t kNoReading = INT32_MIN;
constexpr int kOutletRecords = 60;
constexpr int kUnitOutletWords = 7;
constexpr int kSlaveOutletWords = 6;
constexpr int kUnitOutletCount = 11;  // word of table 0
constexpr int kSlaveOutletCount = 8;  // word of a slave head
constexpr int kFirstSlaveHead = 2;
constexpr int kFirstSlaveOutlets = 6;

// 2301 at one decimal is "230.1".
std::string scaled(int32_t value, int decimals)
{
    const int64_t unit = decimals == 1 ? 10 : 100;
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%0*lld", value < 0 ? "-" : "", static_cast<long long>(magnitude / unit),
                  decimals, static_cast<long long>(magnitude % unit));
    return text;
}

// Voltage, current, power, power factor, energy.
std::string value(const int32_t* w)
{
    return scaled(w[0], 1) + " V, " + scaled(w[1], 2) + " A, " + scaled(w[2], 1) + " W, power factor "
           + scaled(w[3], 2) + ", " + scaled(w[4], 2) + " kWh";
}

// Temperature, humidity.
std::string sensor(const int32_t* w)
{
    return (w[0] == kNoReading ? std::string("no temperature") : scaled(w[0], 1) + " C") + ", "
           + (w[1] == kNoReading ? std::string("no humidity") : scaled(w[1], 1) + " %RH");
}

std::string alarms(const int32_t* w, const std::vector<const char*>& names)
{
    std::string out;
    for (size_t i = 0; i < names.size(); ++i)
        if (w[i] != 0)
            out += (out.empty() ? "" : ", ") + std::string(names[i]) + " " + AgentTableText::alarmLevel(w[i]);
    return "alarms: " + (out.empty() ? std::string("none") : out);
}

std::string onOff(int32_t word) { return word == 1 ? "on" : word == 0 ? "off" : "on/off " + std::to_string(word); }

// The outlet records of one table: those within the count or holding a word.
void outlets(const int32_t* table, int recordWords, int count, const std::string& prefix,
             std::vector<std::string>& out)
{
    int quiet = 0;
    for (int n = 0; n < kOutletRecords; ++n)
    {
        const int32_t* w = table + recordWords * n;
        if (n >= count && std::all_of(w, w + recordWords, [](int32_t x) { return x == 0; }))
        {
            ++quiet;
            continue;
        }
        std::string line = prefix + "outlet " + std::to_string(n + 1) + ": " + onOff(w[recordWords - 1]) + ", "
                           + value(w);
        if (recordWords == kUnitOutletWords)
            line += "; " + alarms(w + 5, {"current"});
        out.push_back(line);
    }
    if (quiet > 0)
        out.push_back(prefix + "the other " + std::to_string(quiet) + " outlets: every word 0");
}
}

std::vector<std::string> AgentTableText::lines(const std::vector<int32_t>& words, int table)
{
    std::vector<std::string> out;
    if (table < 0 || table >= kTables || words.size() < static_cast<size_t>(kTotalWords))
        return out;
    const int32_t* w = words.data() + tableOffset(table);
    if (table == 0)
        out.push_back("unit: " + value(w) + ", " + sensor(w + 5) + "; "
                      + alarms(w + 7, {"voltage", "current", "temperature", "humidity"}) + "; "
                      + std::to_string(w[kUnitOutletCount]) + " outlets; " + (w[12] ? "started" : "not started"));
    else if (table == 1)
        outlets(w, kUnitOutletWords, words[kUnitOutletCount], "", out);
    else if (table < kFirstSlaveOutlets)
        out.push_back("slave slot " + std::to_string(table - kFirstSlaveHead + 1) + ": "
                      + (w[0] == 1 ? "valid" : "not valid") + ", " + value(w + 1) + ", " + sensor(w + 6) + "; "
                      + std::to_string(w[kSlaveOutletCount]) + " outlets");
    else
    {
        const int slot = table - kFirstSlaveOutlets + 1;
        const int32_t* head = words.data() + tableOffset(kFirstSlaveHead + slot - 1);
        outlets(w, kSlaveOutletWords, head[kSlaveOutletCount], "slave slot " + std::to_string(slot) + ", ", out);
    }
    return out;
}
}
