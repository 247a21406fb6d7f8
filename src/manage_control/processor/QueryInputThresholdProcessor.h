#pragma once
#include "cascade/parser/CascadeCtrlPairSelectionRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 50, never relayed: this unit's warning voltages and currents as
// asked (the cut-off pair is never sent), or on a master a slave's limits
// as its answers recorded them. A slave the master has no record of is
// answered with mask 0 and no values.
class QueryInputThresholdProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlPairSelectionRequest>
{
public:
    int work() override { return 0; }
    void buildResponseData(int result, muduo::net::Buffer& data) override;
};
}
