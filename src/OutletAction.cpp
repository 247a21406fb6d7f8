#include "OutletAction.h"

#include <string>

#include "PowerModuleContainer.h"
#include "ScheduledTaskOperations.h"
#include "muduo/base/Logging.h"

namespace
{
void logSkipped(int port)
{
    static muduo::LogLimiter s_skipped;
    int64_t held = 0;
    if (s_skipped.allow(&held))
        LOG_WARN << "outlet " << port << " left alone: not an outlet of this unit" << muduo::LogLimiter::note(held);
}
}

void OutletAction::Steps::add(int port, int action)
{
    if (port < 0 || port >= _Device::kPortSlots || (named >> port & 1u))
        return;
    named |= Outlets(1) << port;
    ports[count] = port;
    actions[count] = action;
    ++count;
}

bool OutletAction::apply(int port, int action) const
{
    if (!LocalOutlets::contains(port))
    {
        logSkipped(port);
        return false;
    }
    if (ignored(action))
        return true;
    Steps steps;
    steps.add(port, action);
    return applyAll(steps);
}

bool OutletAction::applyList(const std::vector<int>& ports, int action) const
{
    if (ignored(action))
        return true;
    Steps steps;
    for (int port : ports)
    {
        if (LocalOutlets::contains(port))
            steps.add(port, action);
        else
            logSkipped(port);
    }
    return applyAll(steps);
}

bool OutletAction::applyOnOff(Outlets on, Outlets off) const
{
    Steps steps;
    for (int port = 0; port < LocalOutlets::count(); ++port)
        if ((on | off) >> port & 1u)
            steps.add(port, (on >> port & 1u) ? 1 : 0);
    return applyAll(steps);
}

void OutletAction::applyTask(int task, unsigned int ports, int action) const
{
    if (ignored(action))
        return;
    // Rooms are per outlet: switching one leaves the others' as they were.
    const Steps asked = fromMask(ports, action);
    std::string alone;
    int left = 0;
    for (int i = 0; i < asked.count; ++i)
    {
        const int port = asked.ports[i];
        if (hasRoom(port, action))
        {
            switchOne(port, action);
            continue;
        }
        alone += (left++ ? ", " : " ") + std::to_string(port);
    }
    if (left == 0)
        return;
    // One line a run, naming them all: each task of a full table may run once a minute.
    static muduo::LogLimiter s_refusals(60.0, ScheduledTaskOperations::kMaxTasks);
    int64_t held = 0;
    if (s_refusals.allow(&held))
        LOG_WARN << "scheduled task id:" << task << " left outlet" << (left > 1 ? "s" : "") << alone
                 << " alone: no room for one more delayed action" << muduo::LogLimiter::note(held);
}

bool OutletAction::applyAll(const Steps& steps) const { return admits(steps) && switchAll(steps); }

// Checked for every outlet before any is switched.
bool OutletAction::admits(const Steps& steps) const
{
    bool now = false;
    for (int i = 0; i < steps.count; ++i)
    {
        if (!hasRoom(steps.ports[i], steps.actions[i]))
            return false;
        now = now || firstDelay(steps.ports[i], steps.actions[i]) < 1;
    }
    return !now || modules_.roomOnLine();
}

bool OutletAction::hasRoom(int port, int action) const
{
    return firstDelay(port, action) < 1 || modules_.roomForDelayed(port);
}

bool OutletAction::switchAll(const Steps& steps) const
{
    bool done = true;
    for (int i = 0; i < steps.count; ++i)
        done = switchOne(steps.ports[i], steps.actions[i]) && done;
    return done;
}

int OutletAction::firstDelay(int port, int action) const
{
    const _DevicePortDelay& delay = GlobalData::getDevice().portDelays[static_cast<size_t>(port)];
    return action == 1 ? delay.onDelay : delay.offDelay;
}

bool OutletAction::switchOne(int port, int action) const
{
    const _DevicePortDelay& delay = GlobalData::getDevice().portDelays[static_cast<size_t>(port)];
    const int wait = firstDelay(port, action);
    LOG_INFO << "port:" << port << " action:" << action << " delay:" << wait;
    if (action == 1)
        return wait >= 1 ? modules_.turnOnPortAfter(port, wait, true) : modules_.turnOnPort(port, true);
    if (action == 0)
        return wait >= 1 ? modules_.turnOffPortAfter(port, wait, true) : modules_.turnOffPort(port, true);
    return wait >= 1 ? modules_.restartPortAfter(port, wait, delay.restartDelay, true)
                     : modules_.restartPort(port, delay.restartDelay, true);
}
