#pragma once
#include <memory>

#include "cascade/parser/CascadeCtrlDeleteScheduledTaskRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

class ScheduledTaskContainer;

namespace MgrCtrl
{
// Code 59: deletes this unit's tasks of the ids, all or, when one is not
// stored, none.
class DeleteScheduledTaskProcessor final
    : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlDeleteScheduledTaskRequest,
                                    &MgrCtrlPacketBuilder::buildDeleteScheduledTaskRetData>
{
public:
    explicit DeleteScheduledTaskProcessor(const std::shared_ptr<ScheduledTaskContainer>& tasks) : tasks_(tasks) {}

    int work() override;

private:
    std::shared_ptr<ScheduledTaskContainer> tasks_;
};
}
