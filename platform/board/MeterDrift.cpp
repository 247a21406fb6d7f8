#include "MeterDrift.h"

#include <algorithm>
#include <cstdio>

#include "PmControlClient.h"

namespace
{
// Typical rack loads in amperes: a switch, servers, a storage shelf, ...
const double kBaseAmps[8] = {0.35, 1.20, 0.85, 2.10, 0.15, 0.60, 1.45, 0.40};
const double kPowerFactor[8] = {0.95, 0.97, 0.92, 0.98, 0.80, 0.90, 0.96, 0.88};

std::string line(const char* format, int port, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, port, value);
    return text;
}
}

MeterDrift::MeterDrift(PmControlClient& control) : control_(control), random_(std::random_device{}()) {}

void MeterDrift::tick(time_t now)
{
    if (now - last_ < kPeriodSeconds)
        return;
    const bool first = last_ == 0;
    last_ = now;
    std::normal_distribution<double> step(0.0, 0.4);
    volts_ = std::clamp(volts_ + step(random_), 226.0, 234.0);
    char voltage[32];
    std::snprintf(voltage, sizeof voltage, "voltage %.1f", volts_);
    control_.command(voltage);
    std::uniform_real_distribution<double> wobble(0.96, 1.04);
    for (int outlet = 0; outlet < 8; ++outlet)
    {
        control_.command(line("current %d %.2f", outlet, kBaseAmps[outlet] * wobble(random_)));
        if (first)
            control_.command(line("pf %d %.2f", outlet, kPowerFactor[outlet]));
    }
}
