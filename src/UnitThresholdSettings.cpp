#include "UnitThresholdSettings.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

bool UnitThresholdSettings::setInput(const _DeviceInputThreshold& threshold)
{
    if (!GlobalData::saveInputThresholdToDb(0, threshold))
        return false;
    _DeviceInputThreshold& stored = GlobalData::getDevice().inputThreshold;
    if (threshold.mask & 0x01)
    {
        stored.warnUpperVoltage = threshold.warnUpperVoltage;
        stored.warnLowerVoltage = threshold.warnLowerVoltage;
        LOG_INFO << "warnUpperVoltage:" << stored.warnUpperVoltage << " warnLowerVoltage:" << stored.warnLowerVoltage;
    }
    if (threshold.mask & 0x02)
    {
        stored.warnUpperCurrent = threshold.warnUpperCurrent;
        stored.warnLowerCurrent = threshold.warnLowerCurrent;
        LOG_INFO << "warnUpperCurrent:" << stored.warnUpperCurrent << " warnLowerCurrent:" << stored.warnLowerCurrent;
    }
    return true;
}

bool UnitThresholdSettings::setTempHumi(const _DeviceTempHumiThreshold& threshold)
{
    if (!GlobalData::saveTempHumThresholdToDb(0, threshold))
        return false;
    _DeviceTempHumiThreshold& stored = GlobalData::getDevice().tempHumiThreshold;
    if (threshold.mask & 0x01)
    {
        stored.warnUpperTemp = threshold.warnUpperTemp;
        stored.warnLowerTemp = threshold.warnLowerTemp;
        LOG_INFO << "warnUpperTemp:" << stored.warnUpperTemp << " warnLowerTemp:" << stored.warnLowerTemp;
    }
    if (threshold.mask & 0x02)
    {
        stored.warnUpperHumi = threshold.warnUpperHumi;
        stored.warnLowerHumi = threshold.warnLowerHumi;
        LOG_INFO << "warnUpperHumi:" << stored.warnUpperHumi << " warnLowerHumi:" << stored.warnLowerHumi;
    }
    return true;
}

bool UnitThresholdSettings::setOne(Limit limit, double value)
{
    if (limit < kCurrentUpper || limit > kHumiLower)
        return false;
    typedef bool (*Save)(int, double);
    static const Save saves[] = {
        &GlobalData::saveDeviceCurrentUpperThresholdToDb, &GlobalData::saveDeviceCurrentLowerThresholdToDb,
        &GlobalData::saveDeviceVoltageUpperThresholdToDb, &GlobalData::saveDeviceVoltageLowerThresholdToDb,
        &GlobalData::saveDeviceTempUpperThresholdToDb,    &GlobalData::saveDeviceTempLowerThresholdToDb,
        &GlobalData::saveDeviceHumUpperThresholdToDb,     &GlobalData::saveDeviceHumLowerThresholdToDb};
    if (!saves[limit](0, value))
        return false;
    _Device& device = GlobalData::getDevice();
    double* const fields[] = {&device.inputThreshold.warnUpperCurrent,    &device.inputThreshold.warnLowerCurrent,
                              &device.inputThreshold.warnUpperVoltage,    &device.inputThreshold.warnLowerVoltage,
                              &device.tempHumiThreshold.warnUpperTemp, &device.tempHumiThreshold.warnLowerTemp,
                              &device.tempHumiThreshold.warnUpperHumi, &device.tempHumiThreshold.warnLowerHumi};
    *fields[limit] = value;
    return true;
}
