#pragma once
#include "DelaySettings.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// SetPortDelay and its Ext twin: the outlets' switching delays (0xFFFF on
// the wire keeps that one); the answer echoes the mask as received.
template <int kCode>
class CascadeCtrlSlaveSetPortDelay : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        if (!DelaySettings::set(this->request.delays))
            return false;
        this->answer_.data.mask = this->request.receivedMask;
        return true;
    }
};
}
