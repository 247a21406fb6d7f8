#include "cascade/processor/CascadeCtrlSlaveRecords.h"

#include <algorithm>

#include "GlobalData.h"
#include "MeterReading.h"
#include "SharedMemory.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
namespace
{
const int kUnknownOutletCount = 8;

template <class Reading>
_DEVICE_VALUE mirrorValue(const Reading& r)
{
    _DEVICE_VALUE v;
    v.voltage = MeterReading::scaled(r.voltage, 10);
    v.current = MeterReading::scaled(r.current, 100);
    v.power = MeterReading::scaled(r.power, 10);
    v.factor = MeterReading::scaled(r.factor, 100);
    v.energy = MeterReading::scaled(r.energy, 100);
    return v;
}

// Outlets of the slave that the record (and the mirror) have room for.
int recordedOutlets(const _SlaveDevice& slave)
{
    return std::max(0, std::min<int>(slave.portCount, _DeviceStatus::kPortSlots));
}
}

_SlaveDevice* CascadeCtrlSlaveRecords::find(int address)
{
    auto& slaves = GlobalData::getDevice().slaves;
    auto found = slaves.find(address);
    return found == slaves.end() ? nullptr : &found->second;
}

void CascadeCtrlSlaveRecords::storeIdentity(int address, const std::string& uid,
                                            const std::map<int, std::string>& names,
                                            const _DeviceInputThreshold& inputThreshold, const std::string& firmware)
{
    _SlaveDevice* slave = find(address);
    if (!slave)
        return;
    slave->uid = uid;
    for (const auto& entry : names)
    {
        if (entry.first == -1)
            slave->deviceName = entry.second;
        else if (entry.first >= 0 && entry.first < static_cast<int>(slave->portNames.size()))
            slave->portNames[static_cast<size_t>(entry.first)] = entry.second;
    }
    slave->inputThreshold = inputThreshold;
    slave->fwVersion = firmware;
    slave->address = address;
    slave->valid = true;
    int outlets = 0, maxCurrent = 0;
    if (Utility::parseUid(uid, outlets, maxCurrent))
    {
        slave->portCount = outlets;
        LOG_INFO << "port num:" << outlets;
    }
    else
    {
        LOG_INFO << "parse uid error";
        slave->portCount = kUnknownOutletCount;
    }
    _CASCADE_DEVICE_STATUS status;
    status.valid = 1;
    status.outletCount = slave->portCount;
    SharedMemory::instance().setCascadeDeviceStatus(slave->pollIndex, status);
    LOG_INFO << "Slave addr:" << address << " uid:" << slave->uid << " device name:" << slave->deviceName
             << " fw version:" << slave->fwVersion << " cascade level:" << slave->pollIndex
             << " port num:" << slave->portCount;
}

void CascadeCtrlSlaveRecords::storeStatus(int address, uint8_t parts, uint64_t states, int stateBits,
                                          double temperature, double humidity, const _DeviceInputStatus& inlet,
                                          const std::map<int, _DeviceInputStatus>& outlets)
{
    _SlaveDevice* slave = find(address);
    if (!slave)
        return;
    SharedMemory& mirror = SharedMemory::instance();
    const int slot = slave->pollIndex;
    const int n = recordedOutlets(*slave);
    if (parts & 0x01)
    {
        slave->status.onOffMask = stateBits < 64 ? states & ((uint64_t(1) << stateBits) - 1) : states;
        for (int outlet = 0; outlet < n; ++outlet)
            mirror.setCascadeOutletPortStatus(slot, outlet, static_cast<int>((slave->status.onOffMask >> outlet) & 1));
    }
    if (parts & 0x02)
    {
        _EnvironmentalStatus& env = slave->status.environment;
        env.valid = !Utility::isInvalidDoubleValue(temperature) && !Utility::isInvalidDoubleValue(humidity);
        env.temperature = temperature;
        env.humidity = humidity;
        _SENSOR_VALUE sensor;
        sensor.temperature = env.valid ? MeterReading::scaled(temperature, 10) : _SENSOR_VALUE::kNoReading;
        sensor.humidity = env.valid ? MeterReading::scaled(humidity, 10) : _SENSOR_VALUE::kNoReading;
        mirror.setCascadeSensorValue(slot, sensor);
    }
    if (parts & 0x04)
    {
        slave->status.input = inlet;
        _DEVICE_VALUE value = mirrorValue(inlet);
        mirror.setCascadeDeviceValue(slot, value);
    }
    for (const auto& entry : outlets)
    {
        if (entry.first < 0 || entry.first >= n)
            continue;
        _DeviceOutputStatus& out = slave->status.outputs[static_cast<size_t>(entry.first)];
        out = _DeviceOutputStatus();
        out.port = entry.first;
        out.voltage = entry.second.voltage;
        out.current = entry.second.current;
        out.power = entry.second.power;
        out.factor = entry.second.factor;
        out.energy = entry.second.energy;
        _OUTLET_VALUE value = mirrorValue(out);
        mirror.setCascadeOutletValue(slot, entry.first, value);
    }
}

void CascadeCtrlSlaveRecords::markInvalid(int address)
{
    _SlaveDevice* slave = find(address);
    if (!slave)
        return;
    slave->valid = false;
    SharedMemory::instance().setCascadeDeviceValid(slave->pollIndex, false);
}
}
