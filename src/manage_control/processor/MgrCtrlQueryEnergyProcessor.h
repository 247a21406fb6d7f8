#pragma once
#include "EnergyOperations.h"
#include "cascade/parser/CascadeCtrlQueryEnergyRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// QueryEnergy and its Ext twin: hourly, daily or monthly statistics of the
// outlets asked for and, with the mask's top bit, the inlet; one series of
// spans values per port. The reply carries the type in place of a result
// and the mask cut to this unit's outlets and the inlet; a failed query
// has four zero bytes in place of everything after the type.
template <typename M, auto Build>
class MgrCtrlQueryEnergyProcessor : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlQueryEnergyRequest<M>>
{
public:
    explicit MgrCtrlQueryEnergyProcessor(EnergyDatabase& database) : database_(database) {}

    int work() override
    {
        auto& r = this->request();
        series_.clear();
        return EnergyOperations(database_).queryStatistics(r.type, r.mask, r.timeZone, r.startYear, r.startMonth,
                                                           r.startDay, r.startHour, r.spans, series_)
                   ? 0
                   : 1;
    }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        const auto& r = this->request();
        Build(data, 0, result, r.type, r.mask, r.startYear, r.startMonth, r.startDay, r.startHour, series_);
    }

private:
    EnergyDatabase& database_;
    EnergyOperations::Series series_;
};
}
