#pragma once
#include <memory>

#include "OutletAction.h"
#include "cascade/processor/CascadeCtrlSlaveCommand.h"
#include "muduo/base/Logging.h"

class PowerModuleContainer;

namespace CascadeCtrl
{
// OperatePort and its Ext twin: the outlet action rule on the outlets of
// the mask; the answer echoes the mask cut to the unit's outlet count, and
// fails when the rule refused the request.
template <int kCode>
class CascadeCtrlSlaveOperatePort : public CascadeCtrlSlaveCommand<kCode>
{
public:
    explicit CascadeCtrlSlaveOperatePort(const std::shared_ptr<PowerModuleContainer>& modules) : modules_(modules) {}

    bool work() override
    {
        auto& r = this->request;
        r.mask = this->belowOutletCount(r.mask);
        LOG_INFO << "port bitmap:" << this->maskText(r.mask);
        LOG_INFO << "action:" << r.action;
        this->answer_.data.mask = r.mask;
        return OutletAction(*modules_).applyMask(r.mask, r.action);
    }

private:
    std::shared_ptr<PowerModuleContainer> modules_;
};
}
