#pragma once
#include "GlobalData.h"
#include "cascade/parser/CascadeCtrlQueryDeviceStatusRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"
#include "manage_control/processor/MgrCtrlUnits.h"

namespace MgrCtrl
{
// QueryDeviceStatus and its Ext twin, never relayed: this unit's live status,
// or on a master a slave's as its last poll left it (result 1 for a slave
// that has no record or has not answered). The status mask keeps bits 0 to
// 2 and the outlet mask the outlets the unit has.
template <typename M, auto Build>
class MgrCtrlDeviceStatusProcessor
    : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlQueryDeviceStatusRequest<M>>
{
public:
    int work() override { return 0; }

    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        const _Device& device = GlobalData::getDevice();
        const _DeviceStatus* status = &device.status;
        int outlets = device.portCount;
        if (MgrCtrlUnits::fromSlaveRecords(this->address()))
        {
            const _SlaveDevice* slave = MgrCtrlUnits::findSlave(this->address());
            if (!slave || !slave->valid)
                return Build(data, this->address(), 1, 0, 0, device.status);
            status = &slave->status;
            outlets = slave->portCount;
        }
        auto& request = this->request();
        request.parts &= 0x07;
        request.mask = MgrCtrlUnits::outletsOf(request.mask, outlets);
        Build(data, this->address(), result, request.parts, request.mask, *status);
    }
};
}
