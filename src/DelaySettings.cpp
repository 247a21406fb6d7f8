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

// False, with a line at a bounded rate (a peer can send it again and
// again), for a delay outside 0 to kLongest.
bool inRange(int port, int seconds)
{
    if (seconds >= 0 && seconds <= DelaySettings::kLongest)
        return true;
    static muduo::LogLimiter s_refusals;
    int64_t held = 0;
    if (s_refusals.allow(&held))
        LOG_WARN << "delay " << seconds << " s of outlet " << port << " refused: outside 0 to "
                 << DelaySettings::kLongest << " s" << muduo::LogLimiter::note(held);
    return false;
}

bool inRangeOrUnchanged(const _DevicePortDelay& entry)
{
    for (int32_t seconds : {entry.onDelay, entry.offDelay, entry.restartDelay})
        if (seconds != DelaySettings::kUnchanged && !inRange(entry.port, seconds))
            return false;
    return true;
}
}

bool DelaySettings::set(const std::vector<_DevicePortDelay>& delays)
{
    if (!LocalOutlets::acceptsAll(delays, "outlet delays"))
        return false;
    for (const _DevicePortDelay& entry : delays)
        if (!inRangeOrUnchanged(entry))
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
    if (!inRange(port, seconds))
        return false;
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
