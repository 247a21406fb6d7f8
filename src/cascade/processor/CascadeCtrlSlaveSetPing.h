#pragma once
#include <memory>

#include "PingOperations.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class PingTaskContainer;

namespace CascadeCtrl
{
// SetPing and its Ext twin: stores the watchdog settings and starts or
// stops the watchdogs of the unit's outlets; the answer echoes the mask as
// received.
template <int kCode>
class CascadeCtrlSlaveSetPing : public CascadeCtrlSlaveCommand<kCode>
{
public:
    explicit CascadeCtrlSlaveSetPing(const std::shared_ptr<PingTaskContainer>& pings) : pings_(pings) {}

    bool work() override
    {
        if (!PingOperations(*pings_).apply(this->request.settings))
            return false;
        this->answer_.data.mask = this->request.receivedMask;
        return true;
    }

private:
    std::shared_ptr<PingTaskContainer> pings_;
};
}
