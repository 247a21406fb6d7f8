#pragma once
#include "cascade/parser/CascadeCtrlPairSelectionRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 52: the temperature and humidity limits of this unit, the pairs both
// asked for and set, without a result byte.
class QueryTempHumThresholdProcessor final
    : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlPairSelectionRequest>
{
public:
    int work() override { return 0; }
    void buildResponseData(int result, muduo::net::Buffer& data) override;
};
}
