#pragma once
#include <cstdint>

// One unit asked for in a device-status request, and what of it is wanted.
struct _DeviceStatusQuery
{
    int32_t address = 0;  // 0 this unit
    uint8_t onOff = 0;    // 1: the outlet on/off bitmap
    uint8_t tempHum = 0;  // 1: temperature and humidity
    uint8_t input = 0;    // 1: the inlet's measurements
    uint64_t outputMask = 0;  // bit n: outlet n's measurements
};
