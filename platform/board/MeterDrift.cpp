#include "MeterDrift.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "PmControlClient.h"

namespace
{
const double kPowerFactor[8] = {0.95, 0.97, 0.92, 0.98, 0.80, 0.90, 0.96, 0.88};

std::string line(const char* format, int port, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, port, value);
    return text;
}
}

MeterDrift::MeterDrift(PmControlClient& control) : control_(control), random_(std::random_device{}()) {}

// The loads once, when the emulator takes them; later they are the user's.
bool MeterDrift::setLoads()
{
    for (int outlet = 0; outlet < 8; ++outlet)
        if (control_.command("current " + std::to_string(outlet) + " auto") != "ok"
            || control_.command(line("pf %d %.2f", outlet, kPowerFactor[outlet])) != "ok")
            return false;
    return true;
}

void MeterDrift::tick(time_t now)
{
    if (now - last_ < kPeriodSeconds)
        return;
    last_ = now;
    if (!loadsSet_)
        loadsSet_ = setLoads();
    std::normal_distribution<double> step(0.0, kVoltageWander / 3);
    voltageFactor_ = std::clamp(voltageFactor_ + step(random_), 1.0 - kVoltageWander, 1.0 + kVoltageWander);
    char voltage[32];
    std::snprintf(voltage, sizeof voltage, "drift voltage %.5f", voltageFactor_);
    control_.command(voltage);
    std::uniform_real_distribution<double> wobble(1.0 - kLoadWander, 1.0 + kLoadWander);
    for (int outlet = 0; outlet < 8; ++outlet)
        control_.command(line("drift %d %.4f", outlet, wobble(random_)));
}
