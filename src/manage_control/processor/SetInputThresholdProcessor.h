#pragma once
#include "cascade/parser/CascadeCtrlSetInputThresholdRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 51: this unit's inlet limits. Every pair the mask selects is saved;
// the voltage and warning-current pairs also go to the record the alarm
// monitor reads. The reply echoes the mask's bits 0 and 1.
class SetInputThresholdProcessor final
    : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlSetInputThresholdRequest>
{
public:
    int work() override;
    void buildResponseData(int result, muduo::net::Buffer& data) override;
};
}
