#pragma once
// What the words of the agent's tables mean, as the daemon writes them (its
// SharedMemoryRecords.h): scaled integers of 0.1 V, 0.01 A, 0.1 W, 0.01
// power factor, 0.01 kWh, 0.1 degree and 0.1 %, alarm states and on/off.
#include <cstdint>
#include <string>
#include <vector>

namespace agentlink
{
class AgentTableText
{
public:
    // An alarm state of the alarm monitor (0 is none).
    static const char* alarmLevel(int state)
    {
        return state == 1 ? "low" : state == 2 ? "high" : state == 4 ? "overload" : "alarm";
    }
    // Table t as labelled lines, one per record ("unit: 230.1 V, ...",
    // "outlet 1: on, ..."), from a copy of all the tables. Outlets beyond
    // the count in their head record whose words are all 0 are summed up in
    // one line.
    static std::vector<std::string> lines(const std::vector<int32_t>& words, int table);
};
}
