#pragma once
#include <vector>

#include "GlobalData.h"
#include "cascade/parser/CascadeCtrlOutletMaskRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"
#include "manage_control/processor/MgrCtrlUnits.h"

namespace MgrCtrl
{
// QueryPing and its Ext twin: the stored watchdog settings of the outlets
// asked for, in outlet order; the mask keeps the bits of this unit's
// outlets that have a setting.
template <typename M, auto Build>
class MgrCtrlQueryPingProcessor : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlOutletMaskRequest<M>>
{
public:
    int work() override { return 0; }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        const _Device& device = GlobalData::getDevice();
        M& mask = this->request().mask;
        mask = MgrCtrlUnits::outletsOf(mask, device.portCount);
        std::vector<PingSetting> found;
        MaskTraits<M>::forEachSetBit(mask, [&](int port) {
            const auto it = device.pingSettings.find(port);
            if (it != device.pingSettings.end())
                found.push_back(it->second);
            else
                mask = static_cast<M>(mask & ~MaskTraits<M>::bit(port));
        });
        Build(data, 0, result, mask, found);
    }
};
}
