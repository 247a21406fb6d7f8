#pragma once
#include <cstdint>
#include <string>

// Plain records of tasks, ping watchdogs, calendar times, energy rows and
// event-log entries.

struct _DeviceDateTime
{
    int year = 0;  // full year
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// One scheduled outlet task; only the low 32 bits of ports are stored.
struct _DeviceTask
{
    int32_t id = 0;
    uint64_t ports = 0;
    int32_t action = 0;  // 1 on, 0 off, other restart
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    uint8_t repeat = 0;  // weekday mask
    std::string remark;
};

// One ping watchdog; ip in host byte order, interval and timeout in seconds.
struct PingSetting
{
    int32_t port = 0;
    uint32_t ip = 0;
    uint32_t interval = 0;
    uint32_t timeout = 0;
    int32_t action = 0;
    int32_t enabled = 0;
};

// A port's saved energy state or one hourly statistics row (hundredths of a
// kWh); the time fields are -1 when the port was never saved.
struct PortEnergy
{
    int32_t port = 0;  // outlets from 0, 255 the inlet
    uint32_t saveEnergy = 0;
    int32_t year = -1;
    int32_t month = -1;
    int32_t day = -1;
    int32_t hour = -1;
};

// One event-log entry; time fields in UTC as stored.
struct _SystemLogItem
{
    int32_t id = 0;
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    int32_t type = 0;
    int32_t port = -1;  // -1 for none
    int32_t desc = 0;
};
