#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "PmReading.h"

namespace pmemu
{
// What the module measures and switches: eight relays, one line voltage, a
// load per outlet (current, power factor, or a fixed power), energy counters
// that integrate the reported power over time, and the calibration state.
// Ports are the module's: 0 to 7 for the outlets, 255 for the inlet. All
// members are thread-safe.
class PmMeterModel
{
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    static constexpr int kOutlets = 8;
    static constexpr int kInlet = 255;
    static constexpr double kNominalVolts = 230.0;
    // The simulated board's own load on each outlet in amperes (a switch,
    // servers, a storage shelf, ...), which "current N auto" returns to.
    static constexpr double kBoardAmps[kOutlets] = {0.35, 1.20, 0.85, 2.10, 0.15, 0.60, 1.45, 0.40};

    explicit PmMeterModel(Now now = &Clock::now);

    // The reading the module reports now; empty for an unknown port.
    std::optional<PmReading> reading(int port);

    // A relay welded shut (kOn) or stuck open (kOff): relay commands are
    // still answered as done but leave it as it is stuck. Sticking puts it
    // in that position; the board's own setRelay/setRelayBits still move it.
    enum class Stuck
    {
        kFree,
        kOn,
        kOff,
    };
    void setStuck(int outlet, Stuck stuck);
    Stuck stuck(int outlet) const;

    // Relay command: result 0 when done, 1 for a bad port or action.
    uint8_t switchRelay(int port, uint8_t action);
    void setRelay(int port, bool on);
    uint8_t relayBits() const;
    void setRelayBits(uint8_t bits);

    // A load that trips: the outlet switches itself off after this long each
    // time a relay command switches it on (again, if it was on: the timer
    // starts over). 0 or less: never (and a pending trip is dropped); a new
    // time applies from the next switch-on. A trip is due at on time + after
    // on the model's clock and shows in whatever is read from then on. The
    // board's own setRelay/setRelayBits arm nothing; a relay going off by any
    // means, or stuck, drops its pending trip.
    void setTrip(int outlet, std::chrono::milliseconds after);
    // The trips so far, those due by now included.
    size_t trips() const;
    // When the next trip not due yet will be, if one is pending.
    std::optional<Clock::time_point> nextTrip() const;

    // The line voltage as set; it holds until set again.
    void setVoltage(double volts);
    double voltage() const;
    // Outlet: the load current drawn while the relay is on. Inlet: a fixed
    // reported current; a negative value returns to the sum of the outlets.
    void setCurrent(int port, double amps);
    // The board's slow wander: the reported voltage, and an outlet's current,
    // are the set value times this factor (1 at the start), so that a value
    // set holds while the readings still move a little about it.
    void setVoltageDrift(double factor);
    void setCurrentDrift(int outlet, double factor);
    void setPowerFactor(int port, double factor);
    // A fixed reported power; negative returns to volts x amps x factor
    // (for the inlet: the sum of the outlets).
    void setPower(int port, double watts);
    void setEnergy(int port, uint64_t hundredths);
    // Speeds up the energy counters (1 = real time).
    void setEnergyRate(double rate);

    void caliParams(uint16_t& voltage, uint16_t& current, uint16_t& power) const;
    void setCaliParams(uint16_t voltage, uint16_t current, uint16_t power);
    // Start-calibration command: result 0 marks the port calibrated; it needs
    // the measured outlet switched on (outlet 0 for the inlet).
    uint8_t calibrate(int port);
    uint8_t calibratedBits() const;
    void setCalibratedBits(uint8_t bits);
    // Forces the result of later calibrations (0 = normal behaviour).
    void setCalibrationFailure(uint8_t result);

private:
    static int slot(int port);  // 0 to 7 outlets, 8 inlet, -1 unknown
    void advanceLocked();
    void bookEnergyLocked(Clock::time_point until);
    uint8_t dueTripsLocked(Clock::time_point now) const;
    void setRelayLocked(int port, bool on);
    double voltsLocked() const;
    double outletAmpsLocked(int outlet) const;
    double outletWattsLocked(int outlet) const;
    double ampsLocked(int s) const;
    double wattsLocked(int s) const;

    mutable std::mutex mutex_;
    Now now_;
    Clock::time_point last_;
    uint8_t relays_ = 0;
    Stuck stuck_[kOutlets] = {};
    std::chrono::milliseconds tripAfter_[kOutlets] = {};
    Clock::time_point tripAt_[kOutlets];  // Clock::time_point::max(): none pending
    size_t trips_ = 0;
    double volts_ = kNominalVolts;
    double voltsDrift_ = 1.0;
    double amps_[kOutlets + 1] = {};
    double ampsDrift_[kOutlets] = {1, 1, 1, 1, 1, 1, 1, 1};
    double factor_[kOutlets + 1] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    double fixedWatts_[kOutlets + 1] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    double energy_[kOutlets + 1] = {};  // hundredths of a kWh
    double energyRate_ = 1.0;
    // What a module leaves the factory with: 220 V, 1000 mA, 220 W.
    uint16_t caliVoltage_ = 220;
    uint16_t caliCurrent_ = 1000;
    uint16_t caliPower_ = 220;
    uint8_t calibrated_ = 0xFF;
    uint8_t calibrationFailure_ = 0;
};
}
