#include "cascade/processor/CascadeCtrlDeleteScheduledTaskProcessor.h"

#include "ScheduledTaskOperations.h"

namespace CascadeCtrl
{
bool CascadeCtrlDeleteScheduledTaskProcessor::work()
{
    const std::vector<int> ids(request.ids.begin(), request.ids.end());
    return ScheduledTaskOperations(*tasks_).remove(ids);
}
}
