#pragma once
#include <vector>

#include "GlobalData.h"
#include "cascade/parser/CascadeCtrlQueryScheduledTaskRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// QueryScheduledTask and its Ext twin: this unit's tasks due between the
// two bounds (a bound with a value of -1 is open), latest first. The reply
// has no result byte: a failed read lists what it read before failing.
template <auto Build>
class MgrCtrlQueryScheduledTaskProcessor
    : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlQueryScheduledTaskRequest>
{
public:
    int work() override
    {
        tasks_.clear();
        const _DeviceDateTime& s = this->request().start;
        const _DeviceDateTime& e = this->request().end;
        return GlobalData::loadScheduledTaskFromDb(tasks_, s.year, s.month, s.day, s.hour, s.minute, s.second, e.year,
                                                   e.month, e.day, e.hour, e.minute, e.second)
                   ? 0
                   : 1;
    }
    void buildResponseData(int, muduo::net::Buffer& data) override { Build(data, 0, tasks_); }

private:
    std::vector<_DeviceTask> tasks_;
};
}
