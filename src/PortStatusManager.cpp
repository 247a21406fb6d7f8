#include "PortStatusManager.h"

#include <cstdio>
#include <map>
#include <string>

#include "GlobalData.h"
#include "PowerModuleContainer.h"
#include "muduo/base/Logging.h"

namespace
{
std::string maskText(uint64_t mask)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(mask));
    return text;
}
}

PortStatusManager::PortStatusManager(const std::shared_ptr<PowerModuleContainer>& container) : container_(container)
{
}

PortStatusManager::~PortStatusManager() = default;

void PortStatusManager::start()
{
    std::map<int, int> states;
    if (!database_.loadPortStatus(states))
        return;
    const _Device& device = GlobalData::getDevice();
    for (const auto& entry : states)
    {
        const int port = entry.first;
        if (entry.second == 0)
            continue;
        // Only outlets with a delay slot can be restored (and switched at all).
        if (port < 0 || port >= _Device::kPortSlots)
        {
            LOG_INFO << "port:" << port << " has no delay slot, not recovered";
            continue;
        }
        keptOnMask_ |= bit(port);
        const int delay = device.portDelays[static_cast<size_t>(port)].onDelay;
        if (delay > 0)
            container_->turnOnPortAfter(port, delay, true);
        else
            container_->turnOnPort(port, true);
        LOG_INFO << "recover port:" << port << ",delay:" << delay;
    }
}

void PortStatusManager::startPortOperation(int port)
{
    if (validPort(port))
        busyMask_ |= bit(port);
}

void PortStatusManager::endPortOperation(int port)
{
    if (validPort(port))
        busyMask_ &= ~bit(port);
}

void PortStatusManager::startUpdatePort(int port, unsigned char action)
{
    if (!validPort(port))
    {
        LOG_INFO << "port:" << port << " outside the outlet masks";
        return;
    }
    updateMask_ |= bit(port);
    if (action == 1)
        wantedMask_ |= bit(port);
    else
        wantedMask_ &= ~bit(port);
    LOG_INFO << "portUpdateMask:" << maskText(updateMask_) << " portAction:" << maskText(wantedMask_);
}

void PortStatusManager::updatePortStatus(int firstPort, int lastPort, unsigned long long onBits)
{
    // A report never reaches past the masks, whatever range it names.
    if (firstPort < 0)
        firstPort = 0;
    if (lastPort > 63)
        lastPort = 63;

    uint64_t changed = 0;
    for (int p = firstPort; p <= lastPort; ++p)
    {
        if (!(updateMask_ & bit(p)) || ((onBits ^ wantedMask_) & bit(p)))
            continue;
        changed |= bit(p);
        keptOnMask_ = (keptOnMask_ & ~bit(p)) | (onBits & bit(p));
    }
    updateMask_ &= ~changed;
    unsavedMask_ |= changed;
    storeUnsaved();

    for (int p = firstPort; p <= lastPort; ++p)
    {
        const bool storedOnFoundOff = (keptOnMask_ & bit(p)) && !(onBits & bit(p));
        if (storedOnFoundOff && !(busyMask_ & bit(p)) && !container_->loopHolds(p))
        {
            LOG_INFO << "port:" << p << " on";
            container_->turnOnPort(p, false);
        }
    }
}

void PortStatusManager::storeUnsaved()
{
    if (!unsavedMask_)
        return;
    std::string error;
    // outlet.db holds outlets 0 to 31; the masks' upper half is never stored.
    if (database_.updatePortsStatus(0, 31, static_cast<unsigned int>(unsavedMask_),
                                    static_cast<unsigned int>(keptOnMask_), &error))
    {
        unsavedMask_ = 0;
        storeFailing_ = false;
        return;
    }
    if (!storeFailing_)
        LOG_ERROR << "outlet states " << maskText(unsavedMask_) << " not stored in outlet.db (" << error
                  << "), kept to be stored with the next status report";
    storeFailing_ = true;
}
