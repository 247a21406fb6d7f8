#pragma once
#include <memory>

#include "OutletAction.h"
#include "cascade/parser/CascadeCtrlOperatePortRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// OperatePort and its Ext twin: the action (1 on, 0 off, else restart, each
// after the outlet's delays) on every outlet of this unit in the mask; the
// reply is code, 0, then 0 whatever the module made of it, or 1 when the
// outlet action rule refused the request (nothing switched).
template <typename M, auto Build>
class MgrCtrlOperatePortProcessor : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlOperatePortRequest<M>, Build>
{
public:
    explicit MgrCtrlOperatePortProcessor(const std::shared_ptr<PowerModuleContainer>& modules) : modules_(modules) {}

    int work() override
    {
        return OutletAction(*modules_).applyMask(this->request().mask, this->request().action) ? 0 : 1;
    }

private:
    std::shared_ptr<PowerModuleContainer> modules_;
};
}
