#pragma once
#include <cstdint>

// One meter reading as the power module reports it; each quantity is
// Int + Frac / 100 (volts, amperes, watts, kWh). The port travels beside it.
struct _PowerModuleData
{
    uint16_t voltageInt;
    uint16_t voltageFrac;
    uint16_t currentInt;
    uint16_t currentFrac;
    uint16_t powerInt;
    uint16_t powerFrac;
    uint32_t energyInt;
    uint16_t energyFrac;
};

// The module's command bytes, shared by the request builder and the reply parser.
namespace powermodule
{
const uint8_t kHeader = 0xA5;
const uint8_t kMeterData = 1;
const uint8_t kRelayControl = 2;
const uint8_t kOutputStatus = 3;
const uint8_t kRequestCaliParam = 4;
const uint8_t kTransferCaliParam = 5;
const uint8_t kStartCalibrate = 6;
// The inlet's port number in requests and replies.
const int kInletPort = 255;
}
