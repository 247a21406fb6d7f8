#pragma once
#include <memory>

#include "PingOperations.h"
#include "cascade/parser/CascadeCtrlSetPingRequest.h"
#include "manage_control/processor/MgrCtrlMaskedSetProcessor.h"

namespace MgrCtrl
{
// SetPing and its Ext twin on this unit: every setting is saved; the
// watchdogs of the unit's outlets then restart (enabled) or stop.
template <typename M, auto Build>
class MgrCtrlSetPingProcessor : public MgrCtrlMaskedSetProcessor<CascadeCtrl::CascadeCtrlSetPingRequest<M>, Build>
{
public:
    explicit MgrCtrlSetPingProcessor(const std::shared_ptr<PingTaskContainer>& pings) : pings_(pings) {}

    int work() override { return PingOperations(*pings_).apply(this->request().settings) ? 0 : 1; }

private:
    std::shared_ptr<PingTaskContainer> pings_;
};
}
