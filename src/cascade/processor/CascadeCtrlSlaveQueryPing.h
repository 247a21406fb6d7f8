#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// QueryPing and its Ext twin: the stored watchdog settings of the outlets
// the mask selects; outlets without one lose their bit, the top bit (no
// outlet) is echoed as received.
template <int kCode>
class CascadeCtrlSlaveQueryPing : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        const auto mask = this->request.mask;
        typedef decltype(this->answer_.data) List;
        const std::map<int, PingSetting>& stored = GlobalData::getDevice().pingSettings;
        auto& list = this->answer_.data;
        list.mask = mask;
        for (int n = 0; n <= List::Records::kLastOutlet; ++n)
        {
            const auto found = stored.find(n);
            if (List::Records::Traits::test(mask, n) && found != stored.end())
            {
                list.settings[n] = found->second;
                list.settings[n].port = n;
            }
        }
        return true;
    }
};
}
