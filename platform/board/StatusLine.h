#pragma once
#include <string>
#include <vector>

class PmControlClient;
class SensorFeeder;

// The simulated board at a glance, printed whenever it changes: outlets on
// and off, inlet volts/amps/watts, temperature and humidity, and the alarms
// the daemon raised (its SNMP mirror and the beeper). A label names the unit
// when several share the terminal.
class StatusLine
{
public:
    StatusLine(std::string root, PmControlClient& control, const SensorFeeder* sensor, std::string label = "");
    // The line as it stands now.
    std::string compose();
    // Prints the line when it differs from the last one printed.
    void tick();

private:
    std::string alarms();
    std::vector<int32_t> mirror();
    bool beeping();

    std::string root_;
    PmControlClient& control_;
    const SensorFeeder* sensor_;
    std::string label_;
    std::string last_;
};
