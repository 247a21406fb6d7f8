#pragma once
#include <cstdint>

// Records of the SNMP agent's shared tables: consecutive signed 32-bit words
// in host byte order. Measurements are scaled integers truncated toward zero:
// 0.1 V, 0.01 A, 0.1 W, 0.01 factor, 0.01 kWh, 0.1 degree, 0.1 %.

struct _DEVICE_VALUE
{
    int32_t voltage = 0;
    int32_t current = 0;
    int32_t power = 0;
    int32_t factor = 0;
    int32_t energy = 0;
};
using _OUTLET_VALUE = _DEVICE_VALUE;

// A word of only bit 31 (-2147483648) means no reading.
struct _SENSOR_VALUE
{
    static constexpr int32_t kNoReading = INT32_MIN;
    int32_t temperature = 0;
    int32_t humidity = 0;
};

struct _DEVICE_STATUS
{
    _DEVICE_VALUE value;
    _SENSOR_VALUE sensor;
    int32_t voltageStatus = 0;  // alarm states, written by the alarm monitor
    int32_t currentStatus = 0;
    int32_t tempStatus = 0;
    int32_t humStatus = 0;
    int32_t outletCount = 0;
    int32_t started = 0;  // 1 once the server has seeded the tables
};

struct _OUTLET_STATUS
{
    _OUTLET_VALUE value;
    int32_t currentStatus = 0;  // alarm code, 0 normal
    int32_t onOff = 0;
};

struct _CASCADE_DEVICE_STATUS
{
    int32_t valid = 0;  // 1 while the slave answers
    _DEVICE_VALUE value;
    _SENSOR_VALUE sensor;
    int32_t outletCount = 0;
};

struct _CASCADE_OUTLET_STATUS
{
    _OUTLET_VALUE value;
    int32_t onOff = 0;
};

static_assert(sizeof(_DEVICE_VALUE) == 20, "agent table layout");
static_assert(sizeof(_SENSOR_VALUE) == 8, "agent table layout");
static_assert(sizeof(_DEVICE_STATUS) == 52, "agent table layout");
static_assert(sizeof(_OUTLET_STATUS) == 28, "agent table layout");
static_assert(sizeof(_CASCADE_DEVICE_STATUS) == 36, "agent table layout");
static_assert(sizeof(_CASCADE_OUTLET_STATUS) == 24, "agent table layout");
