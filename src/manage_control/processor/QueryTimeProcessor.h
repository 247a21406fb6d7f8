#pragma once
#include "DeviceClock.h"
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 61: this unit's local date and time.
class QueryTimeProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlEmptyRequest>
{
public:
    int work() override
    {
        time_ = DeviceClock::now();
        return 0;
    }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        MgrCtrlPacketBuilder::buildQueryTimeRetData(data, 0, result, time_);
    }

private:
    _DeviceDateTime time_;
};
}
