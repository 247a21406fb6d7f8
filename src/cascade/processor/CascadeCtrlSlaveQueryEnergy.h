#pragma once
#include "EnergyOperations.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class EnergyDatabase;

namespace CascadeCtrl
{
// QueryEnergy and its Ext twin: statistics by hour, day or month of the
// outlets of the mask and, under its top bit, the inlet; the answer echoes
// the mask cut to those.
template <int kCode>
class CascadeCtrlSlaveQueryEnergy : public CascadeCtrlSlaveCommand<kCode>
{
public:
    explicit CascadeCtrlSlaveQueryEnergy(EnergyDatabase& database) : database_(database) {}

    bool work() override
    {
        const auto& r = this->request;
        auto& energy = this->answer_;
        energy.type = r.type;
        energy.mask = r.mask;
        energy.startYear = r.startYear;
        energy.startMonth = r.startMonth;
        energy.startDay = r.startDay;
        energy.startHour = r.startHour;
        energy.spans = r.spans;
        energy.done =
            EnergyOperations(database_).queryStatistics(r.type, energy.mask, r.timeZone, r.startYear, r.startMonth,
                                                        r.startDay, r.startHour, r.spans, energy.series);
        return energy.done;
    }

private:
    EnergyDatabase& database_;
};
}
