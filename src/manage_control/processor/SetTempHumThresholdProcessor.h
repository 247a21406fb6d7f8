#pragma once
#include "UnitThresholdSettings.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/parser/MgrCtrlSetTempHumThresholdRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 53: this unit's temperature and humidity limits, the pairs the mask
// names; the reply echoes the mask as received.
class SetTempHumThresholdProcessor final : public MgrCtrlRequestProcessor<MgrCtrlSetTempHumThresholdRequest>
{
public:
    int work() override { return UnitThresholdSettings::setTempHumi(request().threshold) ? 0 : 1; }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        MgrCtrlPacketBuilder::buildSetTempHumiThresholdRetData(data, 0, result, request().threshold.mask);
    }
};
}
