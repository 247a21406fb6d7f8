#pragma once
#include <memory>

#include "cascade/parser/CascadeCtrlTestPingRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

class PingTaskContainer;

namespace MgrCtrl
{
// Code 68: one echo request from an outlet's watchdog slot to the host,
// with a 3 s wait, in place of the outlet's watchdog. An outlet this unit
// lacks gets result 1 and nothing is started.
class TestPingProcessor final : public MgrCtrlRequestProcessor<CascadeCtrl::CascadeCtrlTestPingRequest>
{
public:
    explicit TestPingProcessor(const std::shared_ptr<PingTaskContainer>& pings) : pings_(pings) {}

    int work() override;
    void buildResponseData(int result, muduo::net::Buffer& data) override;

private:
    std::shared_ptr<PingTaskContainer> pings_;
};
}
