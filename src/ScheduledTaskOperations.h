#pragma once
#include <vector>

#include "DeviceRecords.h"

class ScheduledTaskContainer;

// Adding, changing and deleting this unit's scheduled tasks: pdu.db first,
// then the running timers, so a refused change leaves both as they were.
// Every interface comes through here, so the checks of a task are made here:
// its date and time must be a calendar time the clock holds (DateTimeCheck),
// and the table holds at most kMaxTasks tasks. Loop thread only; cheap to
// make per request.
class ScheduledTaskOperations
{
public:
    // Each task is a row and an armed timer; a few per outlet and weekday
    // pattern are plenty for an eight-outlet unit.
    static constexpr int kMaxTasks = 64;

    explicit ScheduledTaskOperations(ScheduledTaskContainer& tasks) : tasks_(tasks) {}

    // Stores the task, gives it the new row id and arms it.
    bool add(_DeviceTask& task);
    // Rewrites the task of the same id and re-arms it (stop, change, start);
    // a stored task that is not armed is armed when fewer than kMaxTasks
    // are, else the update is refused and nothing changes.
    bool update(const _DeviceTask& task);
    // Deletes all the tasks or, when one id is not stored, none.
    bool remove(const std::vector<int>& ids);

private:
    static bool possible(const _DeviceTask& task);

    ScheduledTaskContainer& tasks_;
};
