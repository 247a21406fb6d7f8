#pragma once
#include <ctime>

// The temperature/humidity sensor of the simulated board: a 20-byte record
// (valid, temperature whole and tenths, humidity whole and tenths) every few
// seconds on the sensor device, slowly varying around room values.
class SensorFeeder
{
public:
    static constexpr int kPeriodSeconds = 3;

    explicit SensorFeeder(int fd) : fd_(fd) {}
    // Writes a record when one is due.
    void tick(time_t now);
    double temperature() const { return tenthsC_ / 10.0; }
    double humidity() const { return tenthsRh_ / 10.0; }

private:
    int fd_;
    time_t last_ = 0;
    int tenthsC_ = 0;
    int tenthsRh_ = 0;
};
