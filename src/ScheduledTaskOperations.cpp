#include "ScheduledTaskOperations.h"

#include "DateTimeCheck.h"
#include "GlobalData.h"
#include "ScheduledTaskContainer.h"
#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

bool ScheduledTaskOperations::possible(const _DeviceTask& task)
{
    if (DateTimeCheck::isValid(task))
        return true;
    // A peer can send this as often as it likes.
    static muduo::LogLimiter s_refusals;
    int64_t held = 0;
    if (s_refusals.allow(&held))
        LOG_WARN << "task refused: " << task.year << "-" << task.month << "-" << task.day << " " << task.hour << ":"
                 << task.minute << ":" << task.second << " is not a time the clock can hold"
                 << muduo::LogLimiter::note(held);
    return false;
}

bool ScheduledTaskOperations::add(_DeviceTask& task)
{
    if (!possible(task))
        return false;
    int stored = 0;
    if (!GlobalData::countScheduledTasksInDb(0, stored))
        return false;
    if (stored >= kMaxTasks)
    {
        static muduo::LogLimiter s_full;
        int64_t held = 0;
        if (s_full.allow(&held))
            LOG_WARN << "task refused: the table holds " << stored << " tasks, at most " << kMaxTasks
                     << muduo::LogLimiter::note(held);
        return false;
    }
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
    if (!possible(task) || !GlobalData::updateScheduledTaskToDb(0, task))
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
