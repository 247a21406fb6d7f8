#include "OutletThresholdSettings.h"

#include "LocalOutlets.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
double& field(_DeviceOutputThreshold& entry, OutletThresholdSettings::Limit limit)
{
    switch (limit)
    {
    case OutletThresholdSettings::kWarnUpper:
        return entry.warnUpperCurrent;
    case OutletThresholdSettings::kWarnLower:
        return entry.warnLowerCurrent;
    case OutletThresholdSettings::kOffUpper:
        return entry.offUpperCurrent;
    case OutletThresholdSettings::kOffLower:
        break;
    }
    return entry.offLowerCurrent;
}

void takeValid(double& stored, double value)
{
    if (!Utility::isInvalidDoubleValue(value))
        stored = value;
}
}

bool OutletThresholdSettings::set(const _DeviceOutputThresholdSetting& setting)
{
    if (!LocalOutlets::acceptsAll(setting.thresholds, "outlet limits"))
        return false;
    if (!GlobalData::saveOutputThresholdSettingToDb(0, setting))
        return false;
    for (const _DeviceOutputThreshold& entry : setting.thresholds)
    {
        LOG_INFO << "port:" << entry.port << " warn upper current:" << entry.warnUpperCurrent
                 << " warn lower current:" << entry.warnLowerCurrent << " off upper current:" << entry.offUpperCurrent
                 << " off lower current:" << entry.offLowerCurrent;
        _DeviceOutputThreshold& stored = GlobalData::getDevice().outputThresholds[static_cast<size_t>(entry.port)];
        takeValid(stored.warnUpperCurrent, entry.warnUpperCurrent);
        takeValid(stored.warnLowerCurrent, entry.warnLowerCurrent);
        takeValid(stored.offUpperCurrent, entry.offUpperCurrent);
        takeValid(stored.offLowerCurrent, entry.offLowerCurrent);
    }
    return true;
}

bool OutletThresholdSettings::setOne(int port, Limit limit, double value)
{
    if (!LocalOutlets::contains(port) || limit < kWarnUpper || limit > kOffLower)
    {
        LOG_WARN << "limit " << limit << " of outlet " << port << " refused: not an outlet of this unit";
        return false;
    }
    typedef bool (*Save)(int, int, double);
    static const Save saves[] = {&GlobalData::saveOutletWarnCurrentUpperThresholdToDb,
                                 &GlobalData::saveOutletWarnCurrentLowerThresholdToDb,
                                 &GlobalData::saveOutletFaultCurrentUpperThresholdToDb,
                                 &GlobalData::saveOutletFaultCurrentLowerThresholdToDb};
    if (!saves[limit](0, port, value))
        return false;
    field(GlobalData::getDevice().outputThresholds[static_cast<size_t>(port)], limit) = value;
    return true;
}
