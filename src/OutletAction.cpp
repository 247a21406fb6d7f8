#include "OutletAction.h"

#include "PowerModuleContainer.h"
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

bool OutletAction::apply(int port, int action) const
{
    if (!LocalOutlets::contains(port))
    {
        logSkipped(port);
        return false;
    }
    return applyAll(Outlets(1) << port, action);
}

bool OutletAction::applyList(const std::vector<int>& ports, int action) const
{
    Outlets outlets = 0;
    for (int port : ports)
    {
        if (LocalOutlets::contains(port))
            outlets |= Outlets(1) << port;
        else
            logSkipped(port);
    }
    return applyAll(outlets, action);
}

bool OutletAction::applyAll(Outlets outlets, int action) const
{
    if (ignored(action))
        return true;
    return admits(outlets, action) && switchAll(outlets, action);
}

bool OutletAction::applyOnOff(Outlets on, Outlets off) const
{
    const Outlets local = LocalOutlets::within(~Outlets(0));
    on &= local;
    off &= local & ~on;
    if (!admits(on, 1) || !admits(off, 0))
        return false;
    const bool switchedOn = switchAll(on, 1);
    const bool switchedOff = switchAll(off, 0);
    return switchedOn && switchedOff;
}

// Checked for every outlet before any is switched.
bool OutletAction::admits(Outlets outlets, int action) const
{
    for (int port = 0; port < _Device::kPortSlots; ++port)
        if ((outlets >> port & 1u) && firstDelay(port, action) >= 1 && !modules_.roomForDelayed(port))
            return false;
    return true;
}

bool OutletAction::switchAll(Outlets outlets, int action) const
{
    bool done = true;
    for (int port = 0; port < _Device::kPortSlots; ++port)
        if (outlets >> port & 1u)
            done = switchOne(port, action) && done;
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
