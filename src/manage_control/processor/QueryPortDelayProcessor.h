#pragma once
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 54: the on, off and restart delays of every outlet of this unit, in
// outlet order without a result byte. Outlets beyond the record's table
// keep their place with no delays.
class QueryPortDelayProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlEmptyRequest>
{
public:
    int work() override { return 0; }
    void buildResponseData(int result, muduo::net::Buffer& data) override;
};
}
