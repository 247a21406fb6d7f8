#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// QueryScheduledTask and its Ext twin: the unit's tasks between the two
// bounds (a bound with any field -1 is not applied), latest first; a failed
// query answers an empty list.
template <int kCode>
class CascadeCtrlSlaveQueryScheduledTask : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        const _DeviceDateTime& s = this->request.start;
        const _DeviceDateTime& e = this->request.end;
        auto& tasks = this->answer_.tasks;
        if (GlobalData::loadScheduledTaskFromDb(tasks, s.year, s.month, s.day, s.hour, s.minute, s.second, e.year,
                                                e.month, e.day, e.hour, e.minute, e.second))
            return true;
        tasks.clear();
        return false;
    }
};
}
