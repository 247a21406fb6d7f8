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
    if (!possible(task))
        return false;
    // A stored row that was not armed at start (a date the clock could not
    // hold, or beyond the first kMaxTasks) is armed by its update when there
    // is room; otherwise the update would be stored but never run.
    const bool held = tasks_.find(task.id) != nullptr;
    if (!held && tasks_.size() >= static_cast<size_t>(kMaxTasks))
    {
        static muduo::LogLimiter s_unarmed;
        int64_t suppressed = 0;
        if (s_unarmed.allow(&suppressed))
            LOG_WARN << "task update refused: task " << task.id << " is not armed and " << kMaxTasks
                     << " tasks are" << muduo::LogLimiter::note(suppressed);
        return false;
    }
    if (!GlobalData::updateScheduledTaskToDb(0, task))
        return false;
    if (held)
    {
        tasks_.stop(task.id);
        tasks_.modifyScheduledTask(task);
    }
    else
        tasks_.addScheduledTask(task);
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
