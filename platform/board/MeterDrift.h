#pragma once
#include <ctime>
#include <random>

class PmControlClient;

// Keeps the emulated power module's readings plausible and slowly varying:
// the line voltage wanders about 230 V and each outlet draws a load of its
// own (the emulator reports it only while the outlet's relay is on; energy
// rises with the power).
class MeterDrift
{
public:
    static constexpr int kPeriodSeconds = 5;

    explicit MeterDrift(PmControlClient& control);
    void tick(time_t now);

private:
    PmControlClient& control_;
    std::mt19937 random_;
    time_t last_ = 0;
    double volts_ = 230.0;
};
