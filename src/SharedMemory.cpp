#include "SharedMemory.h"

#include <cstdio>

#include "platform/agentlink/AgentLinkApi.h"

namespace
{
constexpr int kDeviceTable = 0;
constexpr int kOutletTable = 1;
constexpr int kOutletWords = 7;
constexpr int kCascadeOutletWords = 6;

bool outletOk(int outlet) { return outlet >= 0 && outlet < SharedMemory::kOutlets; }
bool slotOk(int slot) { return slot >= SharedMemory::kFirstSlot && slot <= SharedMemory::kLastSlot; }
bool slotOutletOk(int slot, int outlet) { return slotOk(slot) && outletOk(outlet); }
int slaveTable(int slot) { return slot + 1; }
int slaveOutletTable(int slot) { return slot + 5; }
}

SharedMemory& SharedMemory::instance()
{
    static SharedMemory s_sharedMemory(true);
    return s_sharedMemory;
}

SharedMemory::SharedMemory(bool attach)
{
    if (attach && init_shm_sem_master() == 0)
    {
        std::printf("init shm sem ok\n");
        attached_ = true;
    }
}

SharedMemory::~SharedMemory()
{
    if (!attached_)
        return;
    del_sem();
    del_shm();
}

bool SharedMemory::set(bool inRange, int table, int item, int size, void* data)
{
    return attached_ && inRange && snmp_set_data(table, item, size, data) > 0;
}

bool SharedMemory::get(bool inRange, int table, int item, int size, void* data)
{
    return attached_ && inRange && snmp_get_data(table, item, size, data) > 0;
}

bool SharedMemory::setDeviceStatus(_DEVICE_STATUS& s) { return set(true, kDeviceTable, 0, sizeof s, &s); }
bool SharedMemory::setDeviceValue(_DEVICE_VALUE& v) { return set(true, kDeviceTable, 0, sizeof v, &v); }
bool SharedMemory::setSensorValue(_SENSOR_VALUE& v) { return set(true, kDeviceTable, 5, sizeof v, &v); }
bool SharedMemory::setDeviceVoltageStatus(int state) { return set(true, kDeviceTable, 7, sizeof state, &state); }
bool SharedMemory::setDeviceCurrentStatus(int state) { return set(true, kDeviceTable, 8, sizeof state, &state); }
bool SharedMemory::setDeviceTempStatus(int state) { return set(true, kDeviceTable, 9, sizeof state, &state); }
bool SharedMemory::setDeviceHumStatus(int state) { return set(true, kDeviceTable, 10, sizeof state, &state); }

bool SharedMemory::setOutletStatus(int outlet, _OUTLET_STATUS& s)
{
    return set(outletOk(outlet), kOutletTable, kOutletWords * outlet, sizeof s, &s);
}

bool SharedMemory::getOutletStatus(int outlet, _OUTLET_STATUS& s)
{
    return get(outletOk(outlet), kOutletTable, kOutletWords * outlet, sizeof s, &s);
}

bool SharedMemory::setOutletValue(int outlet, _OUTLET_VALUE& v)
{
    return set(outletOk(outlet), kOutletTable, kOutletWords * outlet, sizeof v, &v);
}

bool SharedMemory::getOutletValue(int outlet, _OUTLET_VALUE& v)
{
    return get(outletOk(outlet), kOutletTable, kOutletWords * outlet, sizeof v, &v);
}

bool SharedMemory::setOutletCurrentStatus(int outlet, int state)
{
    return set(outletOk(outlet), kOutletTable, kOutletWords * outlet + 5, sizeof state, &state);
}

bool SharedMemory::setOutletPortStatus(int outlet, int state)
{
    return set(outletOk(outlet), kOutletTable, kOutletWords * outlet + 6, sizeof state, &state);
}

bool SharedMemory::setCascadeDeviceValid(int slot, bool valid)
{
    int word = valid ? 1 : 0;
    return set(slotOk(slot), slaveTable(slot), 0, sizeof word, &word);
}

bool SharedMemory::getCascadeDeviceValid(int slot, bool& valid)
{
    int word = 0;
    if (!get(slotOk(slot), slaveTable(slot), 0, sizeof word, &word))
        return false;
    valid = word > 0;
    return true;
}

bool SharedMemory::setCascadeDeviceStatus(int slot, _CASCADE_DEVICE_STATUS& s)
{
    return set(slotOk(slot), slaveTable(slot), 0, sizeof s, &s);
}

bool SharedMemory::getCascadeDeviceStatus(int slot, _CASCADE_DEVICE_STATUS& s)
{
    return get(slotOk(slot), slaveTable(slot), 0, sizeof s, &s);
}

bool SharedMemory::setCascadeDeviceValue(int slot, _DEVICE_VALUE& v)
{
    return set(slotOk(slot), slaveTable(slot), 1, sizeof v, &v);
}

bool SharedMemory::getCascadeDeviceValue(int slot, _DEVICE_VALUE& v)
{
    return get(slotOk(slot), slaveTable(slot), 1, sizeof v, &v);
}

bool SharedMemory::setCascadeSensorValue(int slot, _SENSOR_VALUE& v)
{
    return set(slotOk(slot), slaveTable(slot), 6, sizeof v, &v);
}

bool SharedMemory::getCascadeSensorValue(int slot, _SENSOR_VALUE& v)
{
    return get(slotOk(slot), slaveTable(slot), 6, sizeof v, &v);
}

bool SharedMemory::setCascadeOutletStatus(int slot, int outlet, _CASCADE_OUTLET_STATUS& s)
{
    return set(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet, sizeof s, &s);
}

bool SharedMemory::getCascadeOutletStatus(int slot, int outlet, _CASCADE_OUTLET_STATUS& s)
{
    return get(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet, sizeof s, &s);
}

bool SharedMemory::setCascadeOutletValue(int slot, int outlet, _OUTLET_VALUE& v)
{
    return set(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet, sizeof v, &v);
}

bool SharedMemory::getCascadeOutletValue(int slot, int outlet, _OUTLET_VALUE& v)
{
    return get(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet, sizeof v, &v);
}

bool SharedMemory::setCascadeOutletPortStatus(int slot, int outlet, int state)
{
    return set(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet + 5, sizeof state,
               &state);
}

bool SharedMemory::getCascadeOutletPortStatus(int slot, int outlet, int& state)
{
    return get(slotOutletOk(slot, outlet), slaveOutletTable(slot), kCascadeOutletWords * outlet + 5, sizeof state,
               &state);
}
