#include "manage_control/processor/DeleteScheduledTaskProcessor.h"

#include "ScheduledTaskOperations.h"

namespace MgrCtrl
{
int DeleteScheduledTaskProcessor::work()
{
    // Row ids are positive ints; an id the table cannot hold matches no row.
    const std::vector<unsigned int>& received = request().ids;
    std::vector<int> ids(received.begin(), received.end());
    return ScheduledTaskOperations(*tasks_).remove(ids) ? 0 : 1;
}
}
