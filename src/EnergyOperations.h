#pragma once
#include <vector>

class EnergyDatabase;

// Clearing and querying this unit's energy accounts. Loop thread only; cheap
// to make per request.
class EnergyOperations
{
public:
    typedef std::vector<std::vector<unsigned int>> Series;

    explicit EnergyOperations(EnergyDatabase& database) : database_(database) {}

    // Zeroes the running counters of every outlet and of the inlet, in
    // energy.db and in the record, and drops all hourly statistics. False,
    // with the record unchanged, when the database refuses.
    bool clear();

    // Statistics of type 1 (hours), 2 (days) or 3 (months) for the outlets of
    // mask and, when its top bit is set, the inlet. The mask is first cut to
    // the top bit and this unit's outlets, as the answer echoes it. The time
    // zone moves only the day and month boundaries. False for another type
    // or a failed query.
    template <typename M>
    bool queryStatistics(int type, M& mask, int timeZone, int year, int month, int day, int hour, int spans,
                         Series& out);

private:
    EnergyDatabase& database_;
};
