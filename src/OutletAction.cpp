#include "OutletAction.h"

#include "PowerModuleContainer.h"
#include "muduo/base/Logging.h"

bool OutletAction::apply(int port, int action) const
{
    if (!LocalOutlets::contains(port))
    {
        LOG_WARN << "outlet " << port << " left alone: not an outlet of this unit";
        return false;
    }
    const _DevicePortDelay& delay = GlobalData::getDevice().portDelays[static_cast<size_t>(port)];
    if (action == 1)
    {
        LOG_INFO << "port:" << port << " action:" << action << " delay:" << delay.onDelay;
        delay.onDelay >= 1 ? modules_.turnOnPortAfter(port, delay.onDelay, true) : modules_.turnOnPort(port, true);
        return true;
    }
    if (action != 0 && action != 2 && others_ == kOthersIgnored)
        return true;
    LOG_INFO << "port:" << port << " action:" << action << " delay:" << delay.offDelay;
    if (action == 0)
        delay.offDelay >= 1 ? modules_.turnOffPortAfter(port, delay.offDelay, true) : modules_.turnOffPort(port, true);
    else if (delay.offDelay >= 1)
        modules_.restartPortAfter(port, delay.offDelay, delay.restartDelay, true);
    else
        modules_.restartPort(port, delay.restartDelay, true);
    return true;
}
