#pragma once
#include "PingOperations.h"
#include "cascade/parser/CascadeCtrlTestPingStatusRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 69: result 0 once the outlet's latest ping test got its echo; 1
// before that, without one, or for an outlet this unit lacks.
class TestPingStatusProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlTestPingStatusRequest>
{
public:
    int work() override { return PingOperations::testAnswered(request().port) ? 0 : 1; }
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        MgrCtrlPacketBuilder::buildTestPingStatusRetData(data, 0, result, request().port);
    }
};
}
