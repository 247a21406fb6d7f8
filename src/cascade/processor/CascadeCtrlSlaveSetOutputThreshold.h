#pragma once
#include "OutletThresholdSettings.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
// SetOutputThreshold and its Ext twin: the outlets' current limits (a limit
// of 0xFFFF on the wire leaves that one as it is); the answer echoes the
// mask cut to the unit's outlet count.
template <int kCode>
class CascadeCtrlSlaveSetOutputThreshold : public CascadeCtrlSlaveCommand<kCode>
{
public:
    bool work() override
    {
        if (!OutletThresholdSettings::set(this->request.setting))
            return false;
        this->answer_.data.mask = this->belowOutletCount(this->request.receivedMask);
        LOG_INFO << "output threshold mask:" << this->maskText(this->answer_.data.mask);
        return true;
    }
};
}
