#pragma once
#include <ctime>
#include <random>

class PmControlClient;

// Keeps the emulated power module's readings plausible and slowly varying:
// each outlet draws a load of its own (the emulator reports it only while
// the outlet's relay is on; energy rises with the power), and the voltage and
// the loads wander a little about their set values. It only ever sets the
// wander, so a voltage or a current set through the control socket holds.
class MeterDrift
{
public:
    static constexpr int kPeriodSeconds = 5;
    // The voltage wanders within this share of its set value (0.2 %: about
    // half a volt), the loads within 4 %.
    static constexpr double kVoltageWander = 0.002;
    static constexpr double kLoadWander = 0.04;

    explicit MeterDrift(PmControlClient& control);
    void tick(time_t now);

private:
    bool setLoads();

    PmControlClient& control_;
    std::mt19937 random_;
    time_t last_ = 0;
    double voltageFactor_ = 1.0;
    bool loadsSet_ = false;
};
