#include "SharedMemory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/AlarmProbe.h"

using test::alarm::mirrorTable;

namespace
{
_DEVICE_VALUE value(int base) { return _DEVICE_VALUE{base, base + 1, base + 2, base + 3, base + 4}; }
}

TEST(SharedMemoryTest, DeviceTableLayout)
{
    SharedMemory& shm = SharedMemory::instance();
    ASSERT_TRUE(shm.attached());

    _DEVICE_STATUS status;
    status.sensor.temperature = _SENSOR_VALUE::kNoReading;
    status.sensor.humidity = _SENSOR_VALUE::kNoReading;
    status.outletCount = 8;
    status.started = 1;
    ASSERT_TRUE(shm.setDeviceStatus(status));
    _DEVICE_VALUE v = value(2300);
    ASSERT_TRUE(shm.setDeviceValue(v));
    ASSERT_TRUE(shm.setDeviceCurrentStatus(2));
    ASSERT_TRUE(shm.setDeviceHumStatus(4));

    // The value replaces words 0-4 only; the rest of the record stands.
    EXPECT_EQ(std::vector<int>({2300, 2301, 2302, 2303, 2304, INT32_MIN, INT32_MIN, 0, 2, 0, 4, 8, 1}),
              mirrorTable(0));

    _SENSOR_VALUE sensor{-123, 456};
    ASSERT_TRUE(shm.setSensorValue(sensor));
    ASSERT_TRUE(shm.setDeviceVoltageStatus(1));
    ASSERT_TRUE(shm.setDeviceTempStatus(3));
    EXPECT_EQ(std::vector<int>({2300, 2301, 2302, 2303, 2304, -123, 456, 1, 2, 3, 4, 8, 1}), mirrorTable(0));
}

TEST(SharedMemoryTest, OutletTableLayout)
{
    SharedMemory& shm = SharedMemory::instance();
    _OUTLET_STATUS status{value(10), 5, 1};
    ASSERT_TRUE(shm.setOutletStatus(2, status));
    _OUTLET_VALUE v = value(900);
    ASSERT_TRUE(shm.setOutletValue(59, v));
    ASSERT_TRUE(shm.setOutletCurrentStatus(59, 7));
    ASSERT_TRUE(shm.setOutletPortStatus(59, 1));
    EXPECT_FALSE(shm.setOutletValue(60, v));
    EXPECT_FALSE(shm.setOutletPortStatus(-1, 1));
    EXPECT_FALSE(shm.getOutletStatus(60, status));

    std::vector<int> t = mirrorTable(1);
    ASSERT_EQ(420u, t.size());
    EXPECT_EQ(std::vector<int>({10, 11, 12, 13, 14, 5, 1}), std::vector<int>(t.begin() + 14, t.begin() + 21));
    EXPECT_EQ(900, t[413]);
    EXPECT_EQ(904, t[417]);
    EXPECT_EQ(7, t[418]);
    EXPECT_EQ(1, t[419]);

    _OUTLET_STATUS back;
    ASSERT_TRUE(shm.getOutletStatus(59, back));
    EXPECT_EQ(901, back.value.current);
    EXPECT_EQ(7, back.currentStatus);
    _OUTLET_VALUE backValue;
    ASSERT_TRUE(shm.getOutletValue(2, backValue));
    EXPECT_EQ(14, backValue.energy);
}

TEST(SharedMemoryTest, CascadeTablesBySlot)
{
    SharedMemory& shm = SharedMemory::instance();
    _CASCADE_DEVICE_STATUS head{1, value(0), {_SENSOR_VALUE::kNoReading, _SENSOR_VALUE::kNoReading}, 24};
    ASSERT_TRUE(shm.setCascadeDeviceStatus(4, head));
    _DEVICE_VALUE v = value(100);
    ASSERT_TRUE(shm.setCascadeDeviceValue(4, v));
    _SENSOR_VALUE s{250, 400};
    ASSERT_TRUE(shm.setCascadeSensorValue(4, s));
    EXPECT_EQ(std::vector<int>({1, 100, 101, 102, 103, 104, 250, 400, 24}), mirrorTable(5));

    ASSERT_TRUE(shm.setCascadeDeviceValid(4, false));
    bool valid = true;
    ASSERT_TRUE(shm.getCascadeDeviceValid(4, valid));
    EXPECT_FALSE(valid);
    EXPECT_FALSE(shm.setCascadeDeviceValid(0, true));
    EXPECT_FALSE(shm.setCascadeDeviceValid(5, true));
    EXPECT_FALSE(shm.getCascadeDeviceStatus(5, head));

    ASSERT_TRUE(shm.setCascadeOutletPortStatus(4, 59, 1));
    _CASCADE_OUTLET_STATUS outlet{value(30), 1};
    ASSERT_TRUE(shm.setCascadeOutletStatus(1, 1, outlet));
    _OUTLET_VALUE ov = value(60);
    ASSERT_TRUE(shm.setCascadeOutletValue(1, 1, ov));
    EXPECT_FALSE(shm.setCascadeOutletPortStatus(4, 60, 1));
    EXPECT_FALSE(shm.setCascadeOutletPortStatus(0, 0, 1));

    std::vector<int> t9 = mirrorTable(9);
    ASSERT_EQ(360u, t9.size());
    EXPECT_EQ(1, t9[359]);
    std::vector<int> t6 = mirrorTable(6);
    ASSERT_EQ(360u, t6.size());
    EXPECT_EQ(std::vector<int>({60, 61, 62, 63, 64, 1}), std::vector<int>(t6.begin() + 6, t6.begin() + 12));

    _CASCADE_OUTLET_STATUS back;
    ASSERT_TRUE(shm.getCascadeOutletStatus(1, 1, back));
    EXPECT_EQ(62, back.value.power);
    int state = 0;
    ASSERT_TRUE(shm.getCascadeOutletPortStatus(4, 59, state));
    EXPECT_EQ(1, state);
    _DEVICE_VALUE dv;
    ASSERT_TRUE(shm.getCascadeDeviceValue(4, dv));
    EXPECT_EQ(103, dv.factor);
    _SENSOR_VALUE sv;
    ASSERT_TRUE(shm.getCascadeSensorValue(4, sv));
    EXPECT_EQ(400, sv.humidity);
}

TEST(SharedMemoryTest, DetachedMirrorRefusesEverything)
{
    SharedMemory shm = SharedMemory::makeDetached();
    EXPECT_FALSE(shm.attached());
    _DEVICE_STATUS status;
    _OUTLET_VALUE v;
    _CASCADE_DEVICE_STATUS head;
    bool valid = true;
    int state = 3;
    EXPECT_FALSE(shm.setDeviceStatus(status));
    EXPECT_FALSE(shm.setOutletValue(0, v));
    EXPECT_FALSE(shm.getOutletValue(0, v));
    EXPECT_FALSE(shm.setCascadeDeviceStatus(1, head));
    EXPECT_FALSE(shm.getCascadeDeviceValid(1, valid));
    EXPECT_FALSE(shm.getCascadeOutletPortStatus(1, 0, state));
    EXPECT_TRUE(valid);
    EXPECT_EQ(3, state);
}
