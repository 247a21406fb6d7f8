#pragma once
#include <memory>

#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class PingTaskContainer;

namespace CascadeCtrl
{
// Starts a one-off ping test from one of the unit's outlets; refused for an
// outlet the unit lacks.
class CascadeCtrlTestPingProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kTestPing>
{
public:
    explicit CascadeCtrlTestPingProcessor(const std::shared_ptr<PingTaskContainer>& pings) : pings_(pings) {}

    bool work() override;

private:
    std::shared_ptr<PingTaskContainer> pings_;
};
}
