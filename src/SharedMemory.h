#pragma once
#include "SharedMemoryRecords.h"

// Mirror of the live values in the SNMP agent's shared tables. Stateless but
// for whether the agent's library connected; every operation is false while
// detached, for an index out of range or when the library refuses.
class SharedMemory
{
public:
    static constexpr int kOutlets = 60;
    static constexpr int kFirstSlot = 1;
    static constexpr int kLastSlot = 4;

    // Connected on first use, so the board root is known by then.
    static SharedMemory& instance();

    // A mirror that never connects, as when the agent's library is missing.
    static SharedMemory makeDetached() { return SharedMemory(false); }

    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    bool attached() const { return attached_; }

    bool setDeviceStatus(_DEVICE_STATUS& status);
    bool setDeviceValue(_DEVICE_VALUE& value);
    bool setSensorValue(_SENSOR_VALUE& value);
    bool setDeviceVoltageStatus(int state);
    bool setDeviceCurrentStatus(int state);
    bool setDeviceTempStatus(int state);
    bool setDeviceHumStatus(int state);

    bool setOutletStatus(int outlet, _OUTLET_STATUS& status);
    bool getOutletStatus(int outlet, _OUTLET_STATUS& status);
    bool setOutletValue(int outlet, _OUTLET_VALUE& value);
    bool getOutletValue(int outlet, _OUTLET_VALUE& value);
    bool setOutletCurrentStatus(int outlet, int state);
    bool setOutletPortStatus(int outlet, int state);

    bool setCascadeDeviceValid(int slot, bool valid);
    bool getCascadeDeviceValid(int slot, bool& valid);
    bool setCascadeDeviceStatus(int slot, _CASCADE_DEVICE_STATUS& status);
    bool getCascadeDeviceStatus(int slot, _CASCADE_DEVICE_STATUS& status);
    bool setCascadeDeviceValue(int slot, _DEVICE_VALUE& value);
    bool getCascadeDeviceValue(int slot, _DEVICE_VALUE& value);
    bool setCascadeSensorValue(int slot, _SENSOR_VALUE& value);
    bool getCascadeSensorValue(int slot, _SENSOR_VALUE& value);
    bool setCascadeOutletStatus(int slot, int outlet, _CASCADE_OUTLET_STATUS& status);
    bool getCascadeOutletStatus(int slot, int outlet, _CASCADE_OUTLET_STATUS& status);
    bool setCascadeOutletValue(int slot, int outlet, _OUTLET_VALUE& value);
    bool getCascadeOutletValue(int slot, int outlet, _OUTLET_VALUE& value);
    bool setCascadeOutletPortStatus(int slot, int outlet, int state);
    bool getCascadeOutletPortStatus(int slot, int outlet, int& state);

private:
    explicit SharedMemory(bool attach);
    bool set(bool inRange, int table, int item, int size, void* data);
    bool get(bool inRange, int table, int item, int size, void* data);

    bool attached_ = false;
};
