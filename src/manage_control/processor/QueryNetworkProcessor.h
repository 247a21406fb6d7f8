#pragma once
#include "DeviceNetwork.h"
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 44: this unit's stored IP settings and manage-control port, as they
// take effect at its next start.
class QueryNetworkProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlEmptyRequest>
{
public:
    int work() override;
    void buildResponseData(int result, muduo::net::Buffer& data) override;

private:
    _DeviceNetworkSetting setting_;
};
}
