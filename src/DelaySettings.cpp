#include "DelaySettings.h"

#include "LocalOutlets.h"
#include "muduo/base/Logging.h"

namespace
{
void take(int32_t& stored, int32_t value)
{
    if (value != DelaySettings::kUnchanged)
        stored = value;
}
}

bool DelaySettings::set(const std::vector<_DevicePortDelay>& delays)
{
    if (!LocalOutlets::acceptsAll(delays, "outlet delays"))
        return false;
    if (!GlobalData::savePortDelayToDb(0, delays))
        return false;
    for (const _DevicePortDelay& entry : delays)
    {
        LOG_INFO << "port:" << entry.port << " on delay:" << entry.onDelay << " off delay:" << entry.offDelay
                 << " restart delay:" << entry.restartDelay;
        _DevicePortDelay& stored = GlobalData::getDevice().portDelays[static_cast<size_t>(entry.port)];
        stored.port = entry.port;
        take(stored.onDelay, entry.onDelay);
        take(stored.offDelay, entry.offDelay);
        take(stored.restartDelay, entry.restartDelay);
    }
    return true;
}

bool DelaySettings::setOne(int port, Delay delay, int seconds)
{
    if (!LocalOutlets::contains(port) || delay < kOn || delay > kRestart)
    {
        LOG_WARN << "delay " << delay << " of outlet " << port << " refused: not an outlet of this unit";
        return false;
    }
    typedef bool (*Save)(int, int, int);
    static const Save saves[] = {&GlobalData::saveOutletOnDelayToDb, &GlobalData::saveOutletOffDelayToDb,
                                 &GlobalData::saveOutletRestartDelayToDb};
    if (!saves[delay](0, port, seconds))
        return false;
    _DevicePortDelay& stored = GlobalData::getDevice().portDelays[static_cast<size_t>(port)];
    int32_t* const fields[] = {&stored.onDelay, &stored.offDelay, &stored.restartDelay};
    *fields[delay] = seconds;
    return true;
}
