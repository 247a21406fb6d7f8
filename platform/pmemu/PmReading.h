#pragma once
#include <cstdint>

namespace pmemu
{
// One meter reading as the module reports it.
struct PmReading
{
    double volts = 0;
    double amps = 0;
    double watts = 0;
    uint64_t energyHundredths = 0;  // hundredths of a kWh
};
}
