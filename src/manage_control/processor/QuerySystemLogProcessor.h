#pragma once
#include <vector>

#include "DeviceRecords.h"
#include "cascade/parser/CascadeCtrlQueryLogRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 65: this unit's event-log rows of one type (0 every type) between
// two days. The reply has no result byte: a log that cannot be read is
// answered with the count 0.
class QuerySystemLogProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlQueryLogRequest>
{
public:
    int work() override;
    void buildResponseData(int result, muduo::net::Buffer& data) override;

private:
    std::vector<_SystemLogItem> logs_;
};
}
