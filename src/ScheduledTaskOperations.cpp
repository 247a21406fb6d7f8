#include "ScheduledTaskOperations.h"

#include "GlobalData.h"
#include "ScheduledTaskContainer.h"

bool ScheduledTaskOperations::add(_DeviceTask& task)
{
    int id = 0;
    if (!GlobalData::addScheduledTaskToDb(0, task, id))
        return false;
    task.id = id;
    tasks_.addScheduledTask(task);
    tasks_.start(id);
    return true;
}

bool ScheduledTaskOperations::update(const _DeviceTask& task)
{
    if (!GlobalData::updateScheduledTaskToDb(0, task))
        return false;
    tasks_.stop(task.id);
    tasks_.modifyScheduledTask(task);
    tasks_.start(task.id);
    return true;
}

bool ScheduledTaskOperations::remove(const std::vector<int>& ids)
{
    if (!GlobalData::deleteScheduledTaskFromDb(0, ids))
        return false;
    for (int id : ids)
    {
        tasks_.stop(id);
        tasks_.deleteScheduledTask(id);
    }
    return true;
}
